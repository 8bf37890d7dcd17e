// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/text_source.h"
#include "recording/flight_series.h"
#include "recording/ground_track.h"
#include "recording/recording_export.h"
#include "recording/recording_reader.h"
#include "recording/time_window.h"
#include "ui/host_services.h"

class QCustomPlot;
class QCPAxisRect;
class QCPGraph;
class QCPItemStraightLine;
class QCPCurve;
class QCPMarginGroup;

namespace zephran::qt {

// The flight-log viewer: a recording's fields by group, each group a plot of its own, stacked on
// one time axis; wheel, drag and keys zoom and pan, a click places the cursor whose values the
// side shows; for a GPS/INS recording the ground track with the cursor's place and the height
// profile. The data behind it is the toolkit-neutral model of src/recording.
class FlightLogWindow : public QWidget {
public:
    // The viewer of a recording read from path, or nullptr with error set.
    // Its texts come from texts, which outlives it.
    static FlightLogWindow* Open(const std::string& path, ui::HostServices& host,
                                 const TextSource& texts, std::string& error);

    FlightLogWindow(std::string path, std::unique_ptr<Recording> recording, ui::HostServices& host,
                    const TextSource& texts);

    const TimeWindow& Window() const { return window_; }
    double CursorTime() const { return cursor_; }
    QString ReadoutText() const { return readout_->text(); }
    // Shows group n (in SeriesGroups() order) or not.
    void ShowGroup(std::size_t n, bool shown);
    // Zooms by factor about the cursor, as the keys do, and redraws.
    void ZoomAboutCursor(double factor);
    void PlaceCursor(double time);
    // Sets every plot's data for the time window and draws: what a zoom or pan costs.
    void Redraw();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A shown group: its plot and one graph per field.
    struct GroupPlot {
        std::size_t group;
        QCPAxisRect* rect;
        std::vector<std::pair<const Series*, QCPGraph*>> graphs;
        QCPItemStraightLine* cursor;
    };

    QWidget* MakeSide();
    QWidget* MakeTrack();
    // Lays the shown groups' plots out anew.
    void Rebuild();
    void SetGroupData(GroupPlot& plot, int columns);
    // Places the cursor's lines, its track mark and its readout, drawing nothing.
    void MoveCursor();
    void PlaceTrackView();
    void Export(ExportFormat format);
    QString TimeAxisTitle() const;
    // Time under a pixel of the plots.
    double TimeAt(double x) const;

    std::string path_;
    std::unique_ptr<Recording> recording_;
    ui::HostServices& host_;
    const TextSource& texts_;
    FlightSeries series_;
    TimeWindow window_;
    double cursor_;
    std::vector<TrackPoint> track_;
    std::vector<GroundPoint> ground_;

    QCustomPlot* plots_;
    // Lines the stacked plots' left and right edges up.
    QCPMarginGroup* margins_;
    std::vector<QCheckBox*> boxes_;
    std::vector<GroupPlot> shown_;
    QLabel* readout_;
    QCustomPlot* trackPlot_ = nullptr;
    QCPCurve* trackCurve_ = nullptr;
    QCPGraph* trackCursor_ = nullptr;
    QCustomPlot* heightPlot_ = nullptr;
    QCPGraph* heightProfile_ = nullptr;
    std::vector<double> heightTimes_;
    std::vector<float> heights_;
    QCPItemStraightLine* heightCursor_ = nullptr;
    // A drag on the plots: where it started, and whether it moved.
    std::optional<double> dragFromX_;
    bool dragged_ = false;
};

}  // namespace zephran::qt
