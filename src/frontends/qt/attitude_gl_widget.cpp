#include "frontends/qt/attitude_gl_widget.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <cmath>
#include <utility>
#include <vector>

#include <GL/glu.h>

namespace zephran::qt {
namespace {

constexpr int kGlyphCount = 128;

// The glyphs' font, standing in for the window's system font; crisp, as bitmap glyphs are.
QFont GlyphFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(13);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void Colour(const views::Rgb& c) {
    glColor3f(c[0], c[1], c[2]);
}

// Arrows of a legend and its centre sphere, from one quadric.
void Legend(const views::LegendSpec& spec) {
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    gluQuadricTexture(quadric, GL_FALSE);
    for (const views::LegendArrow& arrow : views::kLegendArrows) {
        glPushMatrix();
        Colour(arrow.colour);
        glRotatef(arrow.angle, arrow.axis[0], arrow.axis[1], arrow.axis[2]);
        gluCylinder(quadric, spec.shaftRadius, spec.shaftRadius, spec.shaftLength,
                    views::kQuadricSlices, 1);
        glTranslatef(0, 0, spec.shaftLength);
        gluCylinder(quadric, spec.coneBase, 0, spec.coneHeight, views::kQuadricSlices, 1);
        glRotatef(180, arrow.diskAxis[0], arrow.diskAxis[1], arrow.diskAxis[2]);
        gluDisk(quadric, spec.diskInner, spec.diskOuter, views::kQuadricSlices, 1);
        glPopMatrix();
    }
    Colour(views::kLegendCentre);
    gluSphere(quadric, spec.sphereRadius, views::kSphereSlices, views::kSphereSlices);
    gluDeleteQuadric(quadric);
}

}  // namespace

QSurfaceFormat AttitudeGlWidget::Format() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(16);
    format.setAlphaBufferSize(0);
    format.setStencilBufferSize(0);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return format;
}

AttitudeGlWidget::AttitudeGlWidget(views::AttitudeView& view,
                                   std::function<void(float, float)> onResize, QWidget* parent)
    : QOpenGLWidget(parent), view_(&view), onResize_(std::move(onResize)) {
    setFormat(Format());
    setMinimumSize(1, 1);
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        if (!redrawPending_) return;
        redrawPending_ = false;
        update();
        frameTimer_.start();
    });
}

AttitudeGlWidget::~AttitudeGlWidget() {
    if (!isValid()) return;
    makeCurrent();
    glDeleteLists(views::kBoxList, 3);
    if (glyphBase_ != 0) glDeleteLists(glyphBase_, kGlyphCount);
    doneCurrent();
}

void AttitudeGlWidget::Detach() {
    view_ = nullptr;
    onResize_ = nullptr;
    frameTimer_.stop();
}

void AttitudeGlWidget::RequestRedraw() {
    if (frameTimer_.isActive()) {
        redrawPending_ = true;
        return;
    }
    // One frame of the display; a screen that does not say is taken as 60 Hz.
    const qreal rate = screen() && screen()->refreshRate() >= 1 ? screen()->refreshRate() : 60;
    frameTimer_.setInterval(static_cast<int>(std::lround(1000 / rate)));
    update();
    frameTimer_.start();
}

void AttitudeGlWidget::initializeGL() {
    glEnable(GL_DEPTH_TEST);
    glClearDepth(1);
    CompileLists();
}

void AttitudeGlWidget::CompileLists() {
    // The box.
    glNewList(views::kBoxList, GL_COMPILE);
    glBegin(GL_QUADS);
    for (const views::BoxFace& face : views::BoxFaces()) {
        Colour(face.colour);
        for (const views::Vec3f& v : face.vertices)
            glVertex3f(v[0], v[1], v[2]);
    }
    glEnd();
    glEndList();

    // The axis legend.
    glNewList(views::kLegendList, GL_COMPILE);
    Legend(views::kAxisLegend);
    glEndList();

    // The position view's thin legend and reference grid.
    if (view_ && view_->Kind() == views::ViewKind::Position) {
        glNewList(views::kGridList, GL_COMPILE);
        Legend(views::kThinLegend);
        glBegin(GL_LINES);
        for (const views::GridSegment& segment : views::GridSegments()) {
            Colour(segment.colour);
            glVertex3f(segment.from[0], segment.from[1], segment.from[2]);
            glVertex3f(segment.to[0], segment.to[1], segment.to[2]);
        }
        glEnd();
        glEndList();
    }
}

void AttitudeGlWidget::BuildGlyphs(qreal ratio) {
    if (glyphBase_ == 0) glyphBase_ = glGenLists(kGlyphCount);
    glyphRatio_ = ratio;
    const QFont font = GlyphFont();
    const QFontMetrics metrics(font);
    const int height = static_cast<int>(std::ceil(metrics.height() * ratio));
    const int descent = static_cast<int>(std::lround(metrics.descent() * ratio));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int c = 0; c < kGlyphCount; ++c) {
        glNewList(glyphBase_ + static_cast<unsigned>(c), GL_COMPILE);
        if (c >= 32 && c < 127) {
            const QChar character(c);
            const int advance =
                static_cast<int>(std::lround(metrics.horizontalAdvance(character) * ratio));
            QImage image(std::max(advance, 1), height, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            image.setDevicePixelRatio(ratio);
            {
                QPainter p(&image);
                p.setFont(font);
                p.setPen(Qt::white);
                p.drawText(QPointF(0, metrics.ascent()), QString(character));
            }
            // Rows bottom to top, leftmost pixel in the highest bit.
            const int rowBytes = (image.width() + 7) / 8;
            std::vector<GLubyte> bits(static_cast<std::size_t>(rowBytes * height), 0);
            for (int row = 0; row < height; ++row) {
                const QRgb* line =
                    reinterpret_cast<const QRgb*>(image.constScanLine(height - 1 - row));
                for (int x = 0; x < image.width(); ++x) {
                    if (qAlpha(line[x]) > 127)
                        bits[static_cast<std::size_t>(row * rowBytes + x / 8)] |=
                            static_cast<GLubyte>(0x80 >> (x % 8));
                }
            }
            glBitmap(image.width(), height, 0, static_cast<GLfloat>(descent),
                     static_cast<GLfloat>(advance), 0, bits.data());
        }
        glEndList();
    }
}

void AttitudeGlWidget::resizeGL(int width, int height) {
    if (!view_) return;
    if (!created_) {
        created_ = true;
        view_->SetCreationSize(static_cast<float>(width), static_cast<float>(height));
    } else if (onResize_) {
        onResize_(static_cast<float>(width), static_cast<float>(height));
    }
}

void AttitudeGlWidget::paintGL() {
    ++frames_;
    if (!view_) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (ratio != glyphRatio_) BuildGlyphs(ratio);
    // Grid lines one pixel wide at any scale of the screen.
    glLineWidth(static_cast<GLfloat>(ratio));
    Run(view_->RenderSteps(), ratio);
}

void AttitudeGlWidget::Run(const std::vector<views::GlStep>& steps, qreal ratio) {
    using Op = views::GlStep::Op;
    for (const views::GlStep& step : steps) {
        switch (step.op) {
            case Op::Clear:
                glClearColor(0, 0, 0, 0);
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                break;
            case Op::Project: {
                glViewport(0, 0, static_cast<GLsizei>(std::lround(step.a * ratio)),
                           static_cast<GLsizei>(std::lround(step.b * ratio)));
                glMatrixMode(GL_PROJECTION);
                glLoadIdentity();
                const views::Frustum f = views::ProjectionFrustum(step.a, step.b);
                glFrustum(f.left, f.right, f.bottom, f.top, f.nearPlane, f.farPlane);
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                break;
            }
            case Op::Identity:
                glLoadIdentity();
                break;
            case Op::Push:
                glPushMatrix();
                break;
            case Op::Pop:
                glPopMatrix();
                break;
            case Op::Colour:
                glColor3f(step.a, step.b, step.c);
                break;
            case Op::Scale:
                glScalef(step.a, step.b, step.c);
                break;
            case Op::Translate:
                glTranslatef(step.a, step.b, step.c);
                break;
            case Op::Rotate:
                glRotatef(step.a, step.b, step.c, step.d);
                break;
            case Op::CallList:
                glCallList(static_cast<GLuint>(step.a));
                break;
            case Op::RasterPos:
                glRasterPos3f(step.a, step.b, step.c);
                break;
            case Op::Text: {
                // Characters above 127 have no glyph and are left out.
                std::vector<GLubyte> codes;
                for (char c : step.text) {
                    if (static_cast<unsigned char>(c) < kGlyphCount)
                        codes.push_back(static_cast<GLubyte>(c));
                }
                glListBase(glyphBase_);
                glCallLists(static_cast<GLsizei>(codes.size()), GL_UNSIGNED_BYTE, codes.data());
                break;
            }
            case Op::Finish:
                glFinish();
                break;
        }
    }
}

ViewWindow::ViewWindow(views::AttitudeView& view, std::function<void(float, float)> onResize,
                       std::function<void()> onClose, QWidget* parent)
    : QWidget(parent, Qt::Window),
      kind_(view.Kind()),
      gl_(new AttitudeGlWidget(view, std::move(onResize), this)),
      onClose_(std::move(onClose)) {
    setWindowTitle(
        QString::fromUtf8(view.Title().data(), static_cast<qsizetype>(view.Title().size())));
    // The window's black brush: the frame is cleared to a transparent black.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gl_);
    resize(static_cast<int>(view.Current().width), static_cast<int>(view.Current().height));
}

void ViewWindow::Dismiss() {
    gl_->Detach();
    onClose_ = nullptr;
    hide();
    deleteLater();
}

void ViewWindow::closeEvent(QCloseEvent* event) {
    if (const auto close = std::exchange(onClose_, nullptr)) close();
    event->accept();
}

}  // namespace zephran::qt
