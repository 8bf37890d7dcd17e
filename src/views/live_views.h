#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/clock.h"
#include "records/ahrs_records.h"
#include "ui/host_services.h"
#include "ui/timers.h"
#include "views/attitude_view.h"
#include "views/scope_window.h"

namespace zephran {
class ReplyDispatcher;
}

namespace zephran::views {

// The scope window's own 20 ms sampling timer, kept in the main window's timer table beside
// its timers 1 to 3.
inline constexpr int kTimerScope = 4;

// What a front end does for the live windows. Without one the models still work (tests, the
// headless front end): windows are then only their models, and the scope runs as the host's
// modal window.
class ViewsFrontEnd {
public:
    virtual ~ViewsFrontEnd() = default;
    // A 3-D view was opened: make its window and show it. The view lives until DestroyView.
    virtual void ShowView(AttitudeView& view) = 0;
    // Its window goes: closed, or replaced by the other 3-D view.
    virtual void DestroyView(AttitudeView& view) = 0;
    // Draw the view again: its values changed since it was drawn last.
    virtual void RedrawView(AttitudeView& view) = 0;
    // Shows the scope window modally until it ends; the window's initialisation is the front
    // end's to run first, as a modal window's is.
    virtual void RunScope(CDlgScope& scope) = 0;
    // The scope took new samples: draw the plots and readouts again.
    virtual void RefreshScope(CDlgScope& scope) = 0;
};

// The live windows of the main window: the scope window and the two 3-D
// views with their open flags, the heading reference they subtract from the yaw, and the
// pacing of their redraws. The AHRS view's buttons (and later the GPS/INS view's) call it.
class LiveViews {
public:
    struct Services {
        ui::HostServices& host;
        ui::TimerTable& timers;
        const Clock& clock;
        const AhrsLiveRecord& live;
        int redrawTimer;  // the main window's timer 3
        int scopeTimer;   // kTimerScope
    };

    explicit LiveViews(Services services);
    ~LiveViews();
    LiveViews(const LiveViews&) = delete;
    LiveViews& operator=(const LiveViews&) = delete;

    void SetFrontEnd(ViewsFrontEnd* frontEnd) { frontEnd_ = frontEnd; }

    // The live replies that store attitude values (15/1, 16/3) or sensor values (16/1): routed
    // after the pages' handlers, which fill AhrsLiveRecord first.
    void RegisterReplies(ReplyDispatcher& dispatcher);
    // The hook of those replies: the live record holds new values; attitude tells whether
    // roll, pitch and yaw were among them. Open views take the attitude and are redrawn.
    void OnLiveValues(bool attitude);

    // Opening rules: a view already open stays as it is; opening one 3-D view closes the
    // other first. The scope is modal: OpenScope returns when it has been closed.
    void OpenView(ViewKind kind);
    void OpenAttitudeView() { OpenView(ViewKind::Attitude); }
    void OpenPositionView() { OpenView(ViewKind::Position); }
    void OpenScope();
    // A view's close box.
    void CloseView(ViewKind kind);
    // The scope's close box.
    void CloseScope();

    bool IsOpen(ViewKind kind) const { return View(kind) != nullptr; }
    AttitudeView* View(ViewKind kind) const { return views_[Index(kind)].get(); }
    CDlgScope* Scope() const { return scope_.get(); }

    // The heading reference (degrees) the 3-D views subtract from the yaw. The AHRS view's
    // north button takes the current yaw, only while the attitude view is open; its
    // magnetic-north button sets 0.
    float HeadingReference() const { return heading_; }
    void SetHeadingReference(float degrees);
    void HeadingToYaw();
    void HeadingToZero() { SetHeadingReference(0.0f); }

    // The front end's window of a view has a new client size (it repaints it at once).
    void ViewResized(ViewKind kind, float width, float height);

    // Timer 3 and the scope's timer.
    void OnTimer(int id);

    // Redraws asked of the front end, for tests and benchmarks.
    std::int64_t RedrawCount() const { return redraws_; }

private:
    // What a view showed when it was drawn last.
    struct Drawn {
        AhrsLiveRecord live{};
        float heading = 0;
        float pitch = 0;
        float roll = 0;
        float yaw = 0;
        bool operator==(const Drawn& other) const;
    };
    static std::size_t Index(ViewKind kind) { return static_cast<std::size_t>(kind); }
    Drawn Snapshot(const AttitudeView& view) const;
    // Asks for a redraw at the next tick of timer 3 if the view shows something new.
    void MarkIfChanged(ViewKind kind);

    Services s_;
    ViewsFrontEnd* frontEnd_ = nullptr;
    float heading_ = 0.0f;
    std::array<std::unique_ptr<AttitudeView>, 2> views_;
    std::array<Drawn, 2> drawn_{};
    std::array<bool, 2> dirty_{};
    std::unique_ptr<CDlgScope> scope_;
    std::int64_t redraws_ = 0;
};

}  // namespace zephran::views
