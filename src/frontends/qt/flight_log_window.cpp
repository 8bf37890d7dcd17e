// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontends/qt/flight_log_window.h"

#include <qcustomplot.h>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

#include "platform/file_system.h"
#include "recording/map_export.h"
#include "recording/pixel_reduction.h"

namespace zephran::qt {
namespace {

// Three fields a group at most, in these colours.
const QColor kColours[] = {QColor(0, 90, 200), QColor(210, 60, 40), QColor(30, 150, 60)};
const QColor kCursor(120, 120, 120);

// Zoom steps of the wheel (per notch) and keys, and a key's pan as a share of the window.
constexpr double kWheelZoom = 0.8, kKeyZoom = 0.5, kKeyPan = 0.2;

// A series reduced to the columns of a plot, as the points of a line: per column its first value,
// its minimum and maximum where they differ, and its last.
QVector<QCPGraphData> EnvelopePoints(std::span<const double> times, std::span<const float> values,
                                     const TimeWindow& window, int columns) {
    QVector<QCPGraphData> points;
    for (const PixelEnvelope& e :
         ReduceToPixels(times, values, window.From(), window.To(), columns)) {
        points.push_back({e.time, e.first});
        if (e.min != e.first || e.max != e.last) {
            points.push_back({e.time, e.min});
            points.push_back({e.time, e.max});
        }
        if (e.last != points.back().value) points.push_back({e.time, e.last});
    }
    return points;
}

// A layer above the plot's own, redrawn alone when only the cursor moves.
constexpr const char* kCursorLayer = "cursor";
void AddCursorLayer(QCustomPlot* plot) {
    plot->addLayer(QString::fromLatin1(kCursorLayer), nullptr, QCustomPlot::limAbove);
    plot->layer(QString::fromLatin1(kCursorLayer))->setMode(QCPLayer::lmBuffered);
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FlightLogWindow* FlightLogWindow::Open(const std::string& path, ui::HostServices& host,
                                       const TextSource& texts, std::string& error) {
    auto recording = std::make_unique<Recording>();
    if (!ReadRecording(path, *recording)) {
        error = CannotReadRecording(path, texts);
        return nullptr;
    }
    return new FlightLogWindow(path, std::move(recording), host, texts);
}

FlightLogWindow::FlightLogWindow(std::string path, std::unique_ptr<Recording> recording,
                                 ui::HostServices& host, const TextSource& texts)
    : path_(std::move(path)),
      recording_(std::move(recording)),
      host_(host),
      texts_(texts),
      series_(*recording_),
      window_(series_.Times().empty() ? 0 : series_.Times().front(),
              series_.Times().empty() ? 0 : series_.Times().back()),
      cursor_(window_.From()),
      track_(TrackOf(*recording_)),
      ground_(ProjectTrack(track_)),
      plots_(new QCustomPlot(this)),
      margins_(new QCPMarginGroup(plots_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(
        QString::fromStdString(FillIn(AddedText(texts_, "FlightLog", "Title", "Flight log - %1"),
                                      {Utf8FromPath(PathFromUtf8(path_).filename())})));
    setFocusPolicy(Qt::StrongFocus);
    AddCursorLayer(plots_);
    // Each plot has a legend of its own.
    plots_->setAutoAddPlottableToLegend(false);
    plots_->setNoAntialiasingOnDrag(true);
    plots_->installEventFilter(this);
    plots_->setMinimumWidth(320);
    connect(plots_, &QCustomPlot::mouseWheel, this, [this](QWheelEvent* event) {
        window_.Zoom(std::pow(kWheelZoom, event->angleDelta().y() / 120.0),
                     TimeAt(event->position().x()));
        Redraw();
    });
    connect(plots_, &QCustomPlot::mousePress, this, [this](QMouseEvent* event) {
        dragFromX_ = event->position().x();
        dragged_ = false;
    });
    connect(plots_, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) {
        if (!dragFromX_ || !(event->buttons() & Qt::LeftButton)) return;
        const double x = event->position().x();
        window_.Pan(TimeAt(*dragFromX_) - TimeAt(x));
        dragFromX_ = x;
        dragged_ = true;
        Redraw();
    });
    connect(plots_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* event) {
        if (dragFromX_ && !dragged_) PlaceCursor(TimeAt(event->position().x()));
        dragFromX_.reset();
    });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeSide());
    layout->addWidget(plots_, 3);
    if (series_.HasPositions()) layout->addWidget(MakeTrack(), 2);
    Rebuild();
    // 1280 by 720, or less where the screen is smaller.
    const QSize room = screen()->availableGeometry().size() * 9 / 10;
    resize(std::min(1280, room.width()), std::min(720, room.height()));
}

QWidget* FlightLogWindow::MakeSide() {
    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    const auto groups = SeriesGroups();
    const auto captions = GroupCaptions(texts_);
    for (std::size_t n = 0; n < groups.size(); ++n) {
        auto* box = new QCheckBox(Text(captions[n]), side);
        // The navigation groups of an AHRS recording hold nothing.
        box->setVisible(!groups[n].navigation || series_.HasPositions());
        box->setChecked(n == 0 || (series_.HasPositions() ? groups[n].name == "Height"
                                                          : groups[n].name == "Rates"));
        connect(box, &QCheckBox::toggled, this, [this] { Rebuild(); });
        boxes_.push_back(box);
        column->addWidget(box);
    }
    std::string note = DescribeTimes(recording_->times, texts_);
    if (!series_.HasPositions())
        note += (note.empty() ? "" : "\n") +
                AddedText(texts_, "FlightLog", "No Positions", "No positions.");
    if (!note.empty()) {
        auto* label = new QLabel(QString::fromStdString(note), side);
        label->setWordWrap(true);
        column->addWidget(label);
    }
    readout_ = new QLabel(side);
    readout_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(readout_);
    column->addStretch();
    auto* reset =
        new QPushButton(Text(AddedText(texts_, "FlightLog", "Reset Zoom", "Reset zoom")), side);
    connect(reset, &QPushButton::clicked, this, [this] {
        window_.Reset();
        Redraw();
    });
    column->addWidget(reset);
    const std::pair<ExportFormat, std::string> exports[] = {
        {ExportFormat::Csv, AddedText(texts_, "FlightLog", "Export CSV", "Export CSV")},
        {ExportFormat::Gpx, AddedText(texts_, "FlightLog", "Export GPX", "Export GPX")},
        {ExportFormat::Kml, AddedText(texts_, "FlightLog", "Export KML", "Export KML")}};
    for (const auto& [format, caption] : exports) {
        auto* button = new QPushButton(Text(caption), side);
        button->setEnabled(format == ExportFormat::Csv || series_.HasPositions());
        connect(button, &QPushButton::clicked, this, [this, f = format] { Export(f); });
        column->addWidget(button);
    }
    return side;
}

QWidget* FlightLogWindow::MakeTrack() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    // Room for the track's axes and scale bar, on a small screen too.
    panel->setMinimumWidth(260);
    trackPlot_ = new QCustomPlot(panel);
    trackPlot_->xAxis->ticker()->setTickCount(4);
    trackPlot_->yAxis->ticker()->setTickCount(4);
    trackPlot_->xAxis->setLabel(Text(AddedText(texts_, "FlightLog", "East Axis", "east (m)")));
    trackPlot_->yAxis->setLabel(Text(AddedText(texts_, "FlightLog", "North Axis", "north (m)")));
    trackCurve_ = new QCPCurve(trackPlot_->xAxis, trackPlot_->yAxis);
    QVector<double> order, east, north;
    double extent = 0;
    for (const GroundPoint& p : ground_)
        extent = std::max({extent, std::fabs(p.east), std::fabs(p.north)});
    for (const std::size_t n : ThinnedTrack(ground_, extent / 2000)) {
        order.push_back(static_cast<double>(n));
        east.push_back(ground_[n].east);
        north.push_back(ground_[n].north);
    }
    trackCurve_->setData(order, east, north, true);
    trackCurve_->setPen(QPen(kColours[0], 1.5));
    AddCursorLayer(trackPlot_);
    trackCursor_ = trackPlot_->addGraph();
    trackCursor_->setLayer(QString::fromLatin1(kCursorLayer));
    trackCursor_->setLineStyle(QCPGraph::lsNone);
    trackCursor_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, kColours[1], kColours[1], 9));
    trackPlot_->installEventFilter(this);
    column->addWidget(trackPlot_, 3);

    heightPlot_ = new QCustomPlot(panel);
    heightPlot_->xAxis->setLabel(TimeAxisTitle());
    heightPlot_->yAxis->setLabel(Text(AddedText(texts_, "FlightLog", "Height Axis", "height (m)")));
    heightProfile_ = heightPlot_->addGraph();
    for (const TrackPoint& point : track_) {
        heightTimes_.push_back(recording_->times.seconds[point.record]);
        heights_.push_back(static_cast<float>(point.height));
    }
    heightProfile_->setPen(QPen(kColours[2], 1.5));
    heightProfile_->setAdaptiveSampling(false);
    AddCursorLayer(heightPlot_);
    heightCursor_ = new QCPItemStraightLine(heightPlot_);
    heightCursor_->setLayer(QString::fromLatin1(kCursorLayer));
    heightCursor_->setPen(QPen(kCursor, 1, Qt::DashLine));
    column->addWidget(heightPlot_, 2);
    return panel;
}

void FlightLogWindow::Rebuild() {
    plots_->clearItems();
    plots_->clearGraphs();
    plots_->plotLayout()->clear();
    shown_.clear();
    const auto groups = SeriesGroups();
    const auto captions = GroupCaptions(texts_);
    for (std::size_t n = 0; n < groups.size(); ++n) {
        if (boxes_[n]->isHidden() || !boxes_[n]->isChecked()) continue;
        auto* rect = new QCPAxisRect(plots_);
        plots_->plotLayout()->addElement(static_cast<int>(shown_.size()), 0, rect);
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins_);
        rect->axis(QCPAxis::atLeft)->setLabel(Text(captions[n]));
        auto* legend = new QCPLegend;
        rect->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
        legend->setLayer(QStringLiteral("legend"));
        legend->setBrush(QColor(255, 255, 255, 200));
        GroupPlot plot{n, rect, {}, new QCPItemStraightLine(plots_)};
        plot.cursor->setLayer(QString::fromLatin1(kCursorLayer));
        for (std::size_t c = 0; c < groups[n].columns.size(); ++c) {
            const Series* series = series_.Find(groups[n].columns[c]);
            if (!series) continue;
            QCPGraph* graph =
                plots_->addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            graph->setName(Text(series->name));
            graph->setPen(QPen(kColours[c % 3], 1));
            graph->setAdaptiveSampling(false);
            graph->addToLegend(legend);
            plot.graphs.emplace_back(series, graph);
        }
        for (QCPItemPosition* end : {plot.cursor->point1, plot.cursor->point2})
            end->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        plot.cursor->setClipAxisRect(rect);
        plot.cursor->setPen(QPen(kCursor, 1, Qt::DashLine));
        shown_.push_back(std::move(plot));
    }
    for (std::size_t n = 0; n < shown_.size(); ++n) {
        QCPAxis* time = shown_[n].rect->axis(QCPAxis::atBottom);
        const bool last = n + 1 == shown_.size();
        time->setTickLabels(last);
        if (last) time->setLabel(TimeAxisTitle());
    }
    Redraw();
}

void FlightLogWindow::SetGroupData(GroupPlot& plot, int columns) {
    bool first = true;
    for (auto& [series, graph] : plot.graphs) {
        graph->data()->set(EnvelopePoints(series_.Times(), series->values, window_, columns), true);
        graph->rescaleValueAxis(!first, true);
        first = false;
    }
    QCPAxis* values = plot.rect->axis(QCPAxis::atLeft);
    // A flat series still gets a little room.
    if (values->range().size() < 1e-6)
        values->setRange(values->range().center() - 1, values->range().center() + 1);
    values->scaleRange(1.08, values->range().center());
    plot.rect->axis(QCPAxis::atBottom)->setRange(window_.From(), window_.To());
}

void FlightLogWindow::Redraw() {
    for (GroupPlot& plot : shown_)
        SetGroupData(plot, std::max(plot.rect->width(), 100));
    MoveCursor();
    plots_->replot();
    if (!heightPlot_) return;
    heightProfile_->data()->set(EnvelopePoints(heightTimes_, heights_, window_,
                                               std::max(heightPlot_->axisRect()->width(), 100)),
                                true);
    heightProfile_->rescaleValueAxis(false, true);
    heightPlot_->yAxis->scaleRange(1.1, heightPlot_->yAxis->range().center());
    heightPlot_->xAxis->setRange(window_.From(), window_.To());
    heightPlot_->replot();
    trackPlot_->layer(QString::fromLatin1(kCursorLayer))->replot();
}

void FlightLogWindow::PlaceCursor(double time) {
    cursor_ = std::clamp(time, window_.From(), window_.To());
    MoveCursor();
    for (QCustomPlot* plot : {plots_, trackPlot_, heightPlot_}) {
        if (plot) plot->layer(QString::fromLatin1(kCursorLayer))->replot();
    }
}

void FlightLogWindow::MoveCursor() {
    const CursorReadout readout = [this] {
        std::vector<std::string_view> columns;
        for (const GroupPlot& plot : shown_) {
            for (const auto& [series, graph] : plot.graphs)
                columns.push_back(series->name);
        }
        if (series_.HasPositions()) columns.insert(columns.end(), {"lat (deg)", "lon (deg)"});
        return ReadoutAt(*recording_, cursor_, columns);
    }();
    char line[96];
    std::snprintf(line, sizeof line, "%.3f", readout.time);
    std::string text = FillIn(AddedText(texts_, "FlightLog", "Cursor", "%1 s, record %2"),
                              {line, std::to_string(readout.record)}) +
                       "\n";
    if (const auto utc = recording_->times.Utc(readout.record)) {
        text += recording_->times.fromGps
                    ? FillIn(AddedText(texts_, "FlightLog", "GPS Time", "%1 (GPS)"), {IsoUtc(*utc)})
                    : IsoUtc(*utc);
        text += "\n";
    }
    // Names as wide as the longest shown, so the side panel takes no more room than it needs.
    std::size_t nameWidth = 0;
    for (const auto& [name, value] : readout.values)
        nameWidth = std::max(nameWidth, name.size());
    for (const auto& [name, value] : readout.values)
        text += std::string(name) + std::string(nameWidth + 1 - name.size(), ' ') + value + "\n";
    readout_->setText(QString::fromStdString(text));
    for (GroupPlot& plot : shown_) {
        plot.cursor->point1->setCoords(readout.time, 0);
        plot.cursor->point2->setCoords(readout.time, 1);
    }
    if (!trackPlot_ || track_.empty()) return;
    const std::size_t at = TrackPointAt(track_, readout.record);
    trackCursor_->data()->set(
        QVector<QCPGraphData>{QCPGraphData(ground_[at].east, ground_[at].north)});
    heightCursor_->point1->setCoords(readout.time, 0);
    heightCursor_->point2->setCoords(readout.time, 1);
}

// Equal scales east and north, whatever the plot's shape, with a scale bar in its lower left.
void FlightLogWindow::PlaceTrackView() {
    QCPAxisRect* rect = trackPlot_->axisRect();
    const GroundTrackView view(ground_, rect->width(), rect->height(), 12);
    trackPlot_->xAxis->setRange(view.EastAt(0), view.EastAt(rect->width()));
    trackPlot_->yAxis->setRange(view.NorthAt(rect->height()), view.NorthAt(0));
    trackPlot_->clearItems();
    const ScaleBar bar = view.Bar();
    const QPointF start = rect->bottomLeft() + QPointF(12, -14);
    auto* line = new QCPItemLine(trackPlot_);
    line->start->setType(QCPItemPosition::ptAbsolute);
    line->end->setType(QCPItemPosition::ptAbsolute);
    line->start->setCoords(start);
    line->end->setCoords(start + QPointF(bar.pixels, 0));
    line->setPen(QPen(Qt::black, 2));
    auto* label = new QCPItemText(trackPlot_);
    label->position->setType(QCPItemPosition::ptAbsolute);
    label->position->setCoords(start + QPointF(bar.pixels / 2, -4));
    label->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setText(QString::fromStdString(bar.label));
    trackPlot_->replot();
}

bool FlightLogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        // After Qt has laid the plot out, so its axis rectangle has its new size.
        QTimer::singleShot(0, this, [this, watched] {
            if (watched == plots_) Redraw();
            if (watched == trackPlot_) {
                trackPlot_->replot();
                PlaceTrackView();
            }
        });
    }
    return QWidget::eventFilter(watched, event);
}

void FlightLogWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomAboutCursor(kKeyZoom);
            return;
        case Qt::Key_Minus:
            ZoomAboutCursor(1 / kKeyZoom);
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
            window_.Pan((event->key() == Qt::Key_Left ? -kKeyPan : kKeyPan) * window_.Span());
            Redraw();
            return;
        case Qt::Key_Home:
        case Qt::Key_0:
            window_.Reset();
            Redraw();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void FlightLogWindow::ZoomAboutCursor(double factor) {
    window_.Zoom(factor, cursor_);
    Redraw();
}

void FlightLogWindow::ShowGroup(std::size_t n, bool shown) {
    if (n < boxes_.size()) boxes_[n]->setChecked(shown);
}

QString FlightLogWindow::TimeAxisTitle() const {
    return Text(AddedText(texts_, "FlightLog", "Time Axis", "time (s)"));
}

double FlightLogWindow::TimeAt(double x) const {
    if (shown_.empty()) return window_.From();
    return shown_.front().rect->axis(QCPAxis::atBottom)->pixelToCoord(x);
}

void FlightLogWindow::Export(ExportFormat format) {
    const auto out =
        host_.ChooseSaveFile(ExportFilter(format, texts_), ExportPathFor(path_, format));
    if (!out) return;
    std::string result;
    ExportRecordingAs(format, path_, *out, result, texts_);
    host_.MessageBox(result);
}

}  // namespace zephran::qt
