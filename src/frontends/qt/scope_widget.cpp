#include "frontends/qt/scope_widget.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QStyle>

namespace zephran::qt {
namespace {

const QColor kBackground(0, 0, 0);
const QColor kPanel(34, 34, 68);
const QColor kPlot(0, 0, 0);
const QColor kLine(85, 85, 85);
const QColor kTrace(0, 255, 0);
const QColor kLabel(255, 255, 0);
const QColor kButton(192, 192, 192);
const QColor kButtonHot(0, 255, 0);
const QColor kReadout(0, 255, 0);

// The readout's sunken edge: two lines on every side, from the outside in, each with the shade
// of its top and left sides and that of its bottom and right sides.
struct EdgeLine {
    QColor topLeft, bottomRight;
};
const EdgeLine kSunkenEdge[] = {{QColor(128, 128, 128), QColor(255, 255, 255)},
                                {QColor(64, 64, 64), QColor(227, 227, 227)}};

QRect ToQt(const views::Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QPolygon ToQt(const views::Triangle& t) {
    return QPolygon({QPoint(t.apex.x, t.apex.y), QPoint(t.baseLeft.x, t.baseLeft.y),
                     QPoint(t.baseRight.x, t.baseRight.y)});
}

// A rectangle filled, then outlined on its edge pixels.
void Panel(QPainter& p, const views::Rect& r, const QColor& fill) {
    if (r.Empty()) return;
    const QRect rect = ToQt(r);
    p.fillRect(rect, fill);
    p.setPen(kLine);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
}

// The slider's knob: 10 × 21, bevelled, gold-brown.
QImage ThumbImage() {
    constexpr int w = views::ScopeModel::kThumbWidth;
    constexpr int h = views::ScopeModel::kThumbHeight;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(196, 148, 60));
    for (int x = 0; x < w; ++x) {
        image.setPixelColor(x, 0, QColor(255, 228, 150));
        image.setPixelColor(x, h - 2, QColor(150, 105, 40));
        image.setPixelColor(x, h - 1, QColor(96, 64, 20));
    }
    for (int y = 0; y < h; ++y) {
        image.setPixelColor(0, y, QColor(255, 228, 150));
        image.setPixelColor(w - 2, y, QColor(150, 105, 40));
        image.setPixelColor(w - 1, y, QColor(96, 64, 20));
    }
    for (int x = 2; x < w - 2; ++x) {
        image.setPixelColor(x, h / 2 - 1, QColor(110, 75, 25));
        image.setPixelColor(x, h / 2, QColor(240, 200, 120));
    }
    return image;
}

const QImage& Thumb(bool inverted) {
    static const QImage normal = ThumbImage();
    static const QImage negative = [] {
        QImage image = ThumbImage();
        image.invertPixels();
        return image;
    }();
    return inverted ? negative : normal;
}

// Draws text at a reference point: its left edge, centre or right edge at x, its baseline or
// top at y.
void DrawText(QPainter& p, const QFontMetrics& metrics, const views::AxisLabel& label) {
    const QString text = QString::fromStdString(label.text);
    const int width = metrics.horizontalAdvance(text);
    int x = label.at.x;
    if (label.align == views::TextAlign::Right) x -= width;
    if (label.align == views::TextAlign::Centre) x -= width / 2;
    const int baseline =
        label.anchor == views::TextAnchor::Top ? label.at.y + metrics.ascent() : label.at.y;
    p.drawText(QPoint(x, baseline), text);
}

}  // namespace

QFont ScopeWidget::LabelFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    // "Arial" at a cell height of 15 pixels.
    font.setPixelSize(12);
    return font;
}

QFont ScopeWidget::ReadoutFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont ScopeWidget::CaptionFont() {
    QFont font(QStringLiteral("DejaVu Serif"), 10);
    font.setStyleHint(QFont::Serif);
    return font;
}

ScopeWidget::ScopeWidget(views::ScopeModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      labelFont_(LabelFont()),
      readoutFont_(ReadoutFont()),
      captionFont_(CaptionFont()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScopeWidget::Relayout() {
    const QFontMetrics caption(captionFont_);
    const QString name = QString::fromStdString(model_.Name());
    const QString unit = QString::fromStdString(model_.Unit());
    const QFontMetrics labels(labelFont_);
    // Room for readouts up to ±99999.999 with the text's 3-pixel inset and the box's edges.
    const int readout =
        QFontMetrics(readoutFont_).horizontalAdvance(QStringLiteral("-00000.000")) + 6;
    model_.Layout(width(), height(),
                  {caption.horizontalAdvance(name), caption.height(),
                   caption.horizontalAdvance(unit), readout},
                  {labels.ascent(), [labels](std::string_view text) {
                       return labels.horizontalAdvance(
                           QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
                   }});
    staticValid_ = false;
}

void ScopeWidget::Invalidate() {
    Relayout();
    update();
}

void ScopeWidget::RefreshPlot() {
    if (!model_.HasGeometry()) return;
    const views::ScopeGeometry& g = model_.Geometry();
    update(QRegion(ToQt(g.plot)) + QRegion(ToQt(g.readout)));
}

void ScopeWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void ScopeWidget::Apply(const views::ScopeRedraw& redraw) {
    const views::ScopeGeometry& g = model_.Geometry();
    if (redraw.full) {
        staticValid_ = false;
        update();
        return;
    }
    if (redraw.slider) {
        staticValid_ = false;
        update(ToQt(g.slider));
    }
    for (int button : {redraw.hoverOff, redraw.hoverOn}) {
        if (button != views::kButtonNone)
            update(ToQt(g.buttons[static_cast<std::size_t>(button)]).boundingRect());
    }
}

void ScopeWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        Apply(model_.Press({at.x(), at.y()}));
    }
    QWidget::mousePressEvent(event);
}

void ScopeWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Apply(model_.Move({at.x(), at.y()}));
}

void ScopeWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Apply(model_.Release());
    QWidget::mouseReleaseEvent(event);
}

void ScopeWidget::leaveEvent(QEvent* event) {
    Apply(model_.Leave());
    QWidget::leaveEvent(event);
}

void ScopeWidget::paintEvent(QPaintEvent*) {
    if (!model_.HasGeometry()) Relayout();
    const qreal ratio = devicePixelRatioF();
    if (!staticValid_ || static_.size() != size() * ratio || static_.devicePixelRatio() != ratio) {
        static_ = QPixmap(size() * ratio);
        static_.setDevicePixelRatio(ratio);
        QPainter p(&static_);
        PaintStatic(p);
        staticValid_ = true;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, static_);
    PaintGrid(p);
    PaintTrace(p);
    PaintButtons(p);
    PaintReadout(p);
}

void ScopeWidget::PaintStatic(QPainter& p) const {
    const views::ScopeGeometry& g = model_.Geometry();
    p.fillRect(rect(), kBackground);
    Panel(p, g.frame, kPanel);

    // Axis labels.
    p.setFont(labelFont_);
    p.setPen(kLabel);
    const QFontMetrics labels(labelFont_);
    for (const views::AxisLabel& label : model_.VerticalLabels())
        DrawText(p, labels, label);
    for (const views::AxisLabel& label : model_.TimeLabels())
        DrawText(p, labels, label);

    // Slider with its thumb, inverted while dragged.
    Panel(p, g.slider, kPanel);
    if (!g.slider.Empty()) {
        const views::Point thumb = model_.ThumbTopLeft();
        p.drawImage(QRect(thumb.x, thumb.y, views::ScopeModel::kThumbWidth,
                          views::ScopeModel::kThumbHeight),
                    Thumb(model_.Dragging()));
    }

    // Bottom strip with the trace's name and unit.
    Panel(p, g.strip, kPanel);
    p.setFont(captionFont_);
    p.setPen(kLabel);
    const QFontMetrics caption(captionFont_);
    if (g.name)
        p.drawText(QPoint(g.name->x, g.name->y + caption.ascent()),
                   QString::fromStdString(model_.Name()));
    if (g.unit)
        p.drawText(QPoint(g.unit->x, g.unit->y + caption.ascent()),
                   QString::fromStdString(model_.Unit()));
}

void ScopeWidget::PaintGrid(QPainter& p) const {
    const views::ScopeGeometry& g = model_.Geometry();
    if (g.plot.Empty()) return;
    Panel(p, g.plot, kPlot);
    p.save();
    p.setClipRect(ToQt(g.clip));
    p.setPen(kLine);
    for (int y : model_.HorizontalGridRows())
        p.drawLine(g.plot.left, y, g.plot.right, y);
    for (int x : model_.VerticalGridColumns())
        p.drawLine(x, g.plot.top, x, g.plot.bottom);
    p.restore();
}

void ScopeWidget::PaintTrace(QPainter& p) const {
    if (model_.Geometry().clip.Empty()) return;
    p.save();
    p.setClipRect(ToQt(model_.Geometry().clip));
    if (model_.DrawsTrace()) {
        QPolygon line;
        for (const views::Point& point : model_.TracePoints())
            line.append(QPoint(point.x, point.y));
        p.setPen(QPen(kTrace, 2));
        p.drawPolyline(line);
    }
    if (const auto arrow = model_.OffScaleArrow()) {
        p.setPen(Qt::NoPen);
        p.setBrush(kTrace);
        p.drawPolygon(ToQt(*arrow));
    }
    p.restore();
}

void ScopeWidget::PaintButtons(QPainter& p) const {
    const views::ScopeGeometry& g = model_.Geometry();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < views::kScopeButtons; ++i) {
        p.setBrush(i == model_.Hovered() ? kButtonHot : kButton);
        p.drawPolygon(ToQt(g.buttons[static_cast<std::size_t>(i)]), Qt::OddEvenFill);
    }
    p.setBrush(Qt::NoBrush);
}

void ScopeWidget::PaintReadout(QPainter& p) const {
    const views::Rect& r = model_.Geometry().readout;
    if (r.Empty()) return;
    const QRect box = ToQt(r);
    p.fillRect(box, kPlot);
    QRect e = box;
    for (const EdgeLine& line : kSunkenEdge) {
        p.setPen(line.topLeft);
        p.drawLine(e.topLeft(), e.topRight());
        p.drawLine(e.topLeft(), e.bottomLeft());
        p.setPen(line.bottomRight);
        p.drawLine(e.bottomLeft(), e.bottomRight());
        p.drawLine(e.topRight(), e.bottomRight());
        e.adjust(1, 1, -1, -1);
    }
    p.setFont(readoutFont_);
    p.setPen(kReadout);
    p.drawText(box.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QString::fromStdString(model_.ReadoutText()));
}

ScopeDialog::ScopeDialog(views::CDlgScope& scope, QWidget* parent)
    : QDialog(parent), scope_(scope) {
    setWindowTitle(QString::fromStdString(scope.GetWindowText()));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    for (std::size_t i = 0; i < traces_.size(); ++i) {
        traces_[i] = new ScopeWidget(scope.Trace(i), this);
        const int index = static_cast<int>(i);
        grid->addWidget(traces_[i], index / views::kScopeColumns, index % views::kScopeColumns);
    }
    // As large as the traces ask within the screen's free area, where Qt would take two thirds
    // of it: at 200 % on a full-HD screen that is room for every readout. The window manager's
    // frame is not known before the window is shown: two title bars' height are kept for it.
    const QWidget* owner = parent ? parent->window() : nullptr;
    if (const QScreen* shown = owner ? owner->screen() : screen()) {
        const int decoration = 2 * style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        resize(sizeHint().boundedTo(shown->availableGeometry().size() -
                                    QSize(decoration, decoration)));
    }
    scope_.SetObserver(this);
}

ScopeDialog::~ScopeDialog() {
    scope_.SetObserver(nullptr);
}

void ScopeDialog::RefreshPlots() {
    for (ScopeWidget* trace : traces_)
        trace->RefreshPlot();
}

void ScopeDialog::reject() {
    scope_.Close();
}

void ScopeDialog::WindowEnded(ui::Window& window) {
    done(window.Result());
}

}  // namespace zephran::qt
