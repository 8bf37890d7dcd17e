#include "views/live_views.h"

#include <cstring>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"

namespace zephran::views {
namespace {

// Timer 3's period: a view is redrawn at most this often.
constexpr int kRedrawPeriodMs = 5;

}  // namespace

bool LiveViews::Drawn::operator==(const Drawn& other) const {
    return std::memcmp(&live, &other.live, sizeof live) == 0 && heading == other.heading &&
           pitch == other.pitch && roll == other.roll && yaw == other.yaw;
}

LiveViews::LiveViews(Services services) : s_(services) {}

LiveViews::~LiveViews() {
    s_.timers.KillTimer(s_.redrawTimer);
    s_.timers.KillTimer(s_.scopeTimer);
}

void LiveViews::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_ID_AHRS_DATE_COME, [this](const ReceiveArea&) { OnLiveValues(true); });
    dispatcher.Route(msg::DL_GPSINS_NAVOUTPUT, [this](const ReceiveArea&) { OnLiveValues(true); });
    dispatcher.Route(msg::DL_GPSINS_SENSORRAW, [this](const ReceiveArea&) { OnLiveValues(false); });
}

void LiveViews::OnLiveValues(bool attitude) {
    for (ViewKind kind : kViewKinds) {
        AttitudeView* view = View(kind);
        if (!view) continue;
        if (attitude) view->SetAttitude(s_.live.pitch, s_.live.roll, s_.live.yaw);
        MarkIfChanged(kind);
    }
}

LiveViews::Drawn LiveViews::Snapshot(const AttitudeView& view) const {
    Drawn drawn;
    std::memcpy(&drawn.live, &s_.live, sizeof drawn.live);
    drawn.heading = heading_;
    drawn.pitch = view.Pitch();
    drawn.roll = view.Roll();
    drawn.yaw = view.Yaw();
    return drawn;
}

void LiveViews::MarkIfChanged(ViewKind kind) {
    const AttitudeView* view = View(kind);
    if (!view || dirty_[Index(kind)]) return;
    if (Snapshot(*view) == drawn_[Index(kind)]) return;
    dirty_[Index(kind)] = true;
    if (!s_.timers.IsRunning(s_.redrawTimer))
        s_.timers.SetTimer(s_.redrawTimer, kRedrawPeriodMs, s_.clock.SteadyMs());
}

void LiveViews::OpenView(ViewKind kind) {
    if (IsOpen(kind)) return;
    const ViewKind other = kind == ViewKind::Attitude ? ViewKind::Position : ViewKind::Attitude;
    if (IsOpen(other)) CloseView(other);
    auto view = std::make_unique<AttitudeView>(kind, s_.live, heading_);
    AttitudeView& shown = *view;
    views_[Index(kind)] = std::move(view);
    dirty_[Index(kind)] = false;
    drawn_[Index(kind)] = Snapshot(shown);
    if (frontEnd_) frontEnd_->ShowView(shown);
}

void LiveViews::CloseView(ViewKind kind) {
    std::unique_ptr<AttitudeView> view = std::move(views_[Index(kind)]);
    if (!view) return;
    dirty_[Index(kind)] = false;
    if (frontEnd_) frontEnd_->DestroyView(*view);
}

void LiveViews::OpenScope() {
    if (scope_) return;
    scope_ = std::make_unique<CDlgScope>(s_.host, s_.live);
    CDlgScope& scope = *scope_;
    scope.Open(s_.clock.SteadyMs());
    s_.timers.SetTimer(s_.scopeTimer, CDlgScope::kSamplePeriodMs, s_.clock.SteadyMs());
    if (frontEnd_) {
        frontEnd_->RunScope(scope);
    } else {
        s_.host.RunModal(scope);
    }
    s_.timers.KillTimer(s_.scopeTimer);
    scope_.reset();
}

void LiveViews::CloseScope() {
    if (scope_) scope_->Close();
}

void LiveViews::SetHeadingReference(float degrees) {
    heading_ = degrees;
    for (ViewKind kind : kViewKinds)
        MarkIfChanged(kind);
}

void LiveViews::HeadingToYaw() {
    if (IsOpen(ViewKind::Attitude)) SetHeadingReference(s_.live.yaw);
}

void LiveViews::ViewResized(ViewKind kind, float width, float height) {
    if (AttitudeView* view = View(kind)) view->Resize(width, height);
}

void LiveViews::OnTimer(int id) {
    if (id == s_.scopeTimer) {
        if (scope_ && !scope_->Ended()) {
            scope_->Tick(s_.clock.SteadyMs());
            if (frontEnd_) frontEnd_->RefreshScope(*scope_);
        }
        return;
    }
    if (id != s_.redrawTimer) return;
    // Everything new is drawn now; the timer runs again only when something changes.
    s_.timers.KillTimer(s_.redrawTimer);
    for (ViewKind kind : kViewKinds) {
        AttitudeView* view = View(kind);
        if (!view || !dirty_[Index(kind)]) continue;
        dirty_[Index(kind)] = false;
        drawn_[Index(kind)] = Snapshot(*view);
        ++redraws_;
        if (frontEnd_) frontEnd_->RedrawView(*view);
    }
}

}  // namespace zephran::views
