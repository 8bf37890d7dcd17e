#include "frontends/qt/attitude_gl_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QSurfaceFormat>
#include <cmath>
#include <utility>
#include <vector>

#include <GL/glu.h>

namespace zephran::qt {
namespace {

constexpr int kGlyphCount = 128;
constexpr int kGlyphColumns = 16;

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

QSurfaceFormat AttitudeGlWindow::Format() {
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

AttitudeGlWindow::AttitudeGlWindow(views::AttitudeView& view,
                                   std::function<void(float, float)> onResize,
                                   std::function<void()> onClose, QWindow* transientParent)
    : kind_(view.Kind()),
      view_(&view),
      onResize_(std::move(onResize)),
      onClose_(std::move(onClose)) {
    setFormat(Format());
    setTransientParent(transientParent);
    setTitle(QString::fromUtf8(view.Title().data(), static_cast<qsizetype>(view.Title().size())));
    setMinimumSize(QSize(1, 1));
    resize(static_cast<int>(view.Current().width), static_cast<int>(view.Current().height));
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        if (!redrawPending_) return;
        redrawPending_ = false;
        update();
        frameTimer_.start();
    });
}

AttitudeGlWindow::~AttitudeGlWindow() {
    if (!isValid()) return;
    makeCurrent();
    glDeleteLists(views::kBoxList, 3);
    if (glyphTexture_ != 0) glDeleteTextures(1, &glyphTexture_);
    doneCurrent();
}

void AttitudeGlWindow::Dismiss() {
    view_ = nullptr;
    onResize_ = nullptr;
    onClose_ = nullptr;
    frameTimer_.stop();
    hide();
    deleteLater();
}

QImage AttitudeGlWindow::Render() {
    if (!isValid()) return {};
    makeCurrent();
    const qreal ratio = devicePixelRatio();
    const int w = static_cast<int>(std::lround(width() * ratio));
    const int h = static_cast<int>(std::lround(height() * ratio));
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    paintGL();
    QImage image(w, h, QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    doneCurrent();
    // OpenGL's rows run bottom to top; alpha means nothing in this window.
    image = image.mirrored().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

void AttitudeGlWindow::closeEvent(QCloseEvent* event) {
    if (const auto close = std::exchange(onClose_, nullptr)) close();
    event->accept();
}

void AttitudeGlWindow::RequestRedraw() {
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

void AttitudeGlWindow::initializeGL() {
    glEnable(GL_DEPTH_TEST);
    glClearDepth(1);
    CompileLists();
}

void AttitudeGlWindow::CompileLists() {
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
    if (kind_ == views::ViewKind::Position) {
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

void AttitudeGlWindow::BuildGlyphs(qreal ratio) {
    glyphRatio_ = ratio;
    const QFont font = GlyphFont();
    const QFontMetrics metrics(font);
    cellWidth_ = static_cast<int>(std::ceil(metrics.maxWidth() * ratio)) + 1;
    cellHeight_ = static_cast<int>(std::ceil(metrics.height() * ratio));
    descent_ = static_cast<int>(std::lround(metrics.descent() * ratio));
    const auto powerOfTwo = [](int n) {
        int p = 1;
        while (p < n)
            p *= 2;
        return p;
    };
    textureWidth_ = powerOfTwo(cellWidth_ * kGlyphColumns);
    textureHeight_ = powerOfTwo(cellHeight_ * (kGlyphCount / kGlyphColumns));

    // Each printable character in its cell, on its baseline, with no anti-aliasing.
    QImage atlas(textureWidth_, textureHeight_, QImage::Format_Alpha8);
    atlas.fill(0);
    {
        QPainter p(&atlas);
        p.setFont(font);
        p.setPen(Qt::white);
        p.scale(ratio, ratio);
        for (int c = 32; c < 127; ++c) {
            const int x = (c % kGlyphColumns) * cellWidth_;
            const int y = (c / kGlyphColumns) * cellHeight_;
            p.drawText(QPointF(x / ratio, (y + cellHeight_ - descent_) / ratio), QString(QChar(c)));
        }
    }
    for (int c = 0; c < kGlyphCount; ++c) {
        advances_[static_cast<std::size_t>(c)] =
            c >= 32 && c < 127
                ? static_cast<int>(std::lround(metrics.horizontalAdvance(QChar(c)) * ratio))
                : 0;
    }

    if (glyphTexture_ == 0) glGenTextures(1, &glyphTexture_);
    glBindTexture(GL_TEXTURE_2D, glyphTexture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(atlas.bytesPerLine()));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, textureWidth_, textureHeight_, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, atlas.constBits());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void AttitudeGlWindow::DrawText(const std::string& text) {
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid || glyphTexture_ == 0) return;
    GLfloat raster[4];
    GLfloat colour[4];
    GLint viewport[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    glGetIntegerv(GL_VIEWPORT, viewport);

    // Window coordinates: x and y in device pixels from the viewport's corner, z the raster
    // depth (glOrtho's -1 to 1 maps z = 1 - 2 depth to that depth).
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, glyphTexture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glColor4f(colour[0], colour[1], colour[2], 1);

    const float z = 1 - 2 * raster[2];
    const float su = 1.0f / static_cast<float>(textureWidth_);
    const float sv = 1.0f / static_cast<float>(textureHeight_);
    float x = std::floor(raster[0]);
    const float bottom = std::floor(raster[1]) - static_cast<float>(descent_);
    const float top = bottom + static_cast<float>(cellHeight_);
    glBegin(GL_QUADS);
    for (const char ch : text) {
        // Characters above 127 have no glyph and are left out.
        const auto c = static_cast<unsigned char>(ch);
        if (c >= kGlyphCount) continue;
        const float u0 = static_cast<float>((c % kGlyphColumns) * cellWidth_) * su;
        const float u1 = u0 + static_cast<float>(cellWidth_) * su;
        const float v0 = static_cast<float>((c / kGlyphColumns) * cellHeight_) * sv;
        const float v1 = v0 + static_cast<float>(cellHeight_) * sv;
        const float right = x + static_cast<float>(cellWidth_);
        glTexCoord2f(u0, v1);
        glVertex3f(x, bottom, z);
        glTexCoord2f(u1, v1);
        glVertex3f(right, bottom, z);
        glTexCoord2f(u1, v0);
        glVertex3f(right, top, z);
        glTexCoord2f(u0, v0);
        glVertex3f(x, top, z);
        x += static_cast<float>(advances_[c]);
    }
    glEnd();

    glPopAttrib();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void AttitudeGlWindow::resizeGL(int width, int height) {
    if (!view_) return;
    if (!created_) {
        created_ = true;
        view_->SetCreationSize(static_cast<float>(width), static_cast<float>(height));
    } else if (onResize_) {
        onResize_(static_cast<float>(width), static_cast<float>(height));
    }
}

void AttitudeGlWindow::paintGL() {
    ++frames_;
    if (!view_) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatio();
    if (ratio != glyphRatio_) BuildGlyphs(ratio);
    // Grid lines one pixel wide at any scale of the screen.
    glLineWidth(static_cast<GLfloat>(ratio));
    Run(view_->RenderSteps(), ratio);
}

void AttitudeGlWindow::Run(const std::vector<views::GlStep>& steps, qreal ratio) {
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
            case Op::Text:
                DrawText(step.text);
                break;
            case Op::Finish:
                glFinish();
                break;
        }
    }
}

}  // namespace zephran::qt
