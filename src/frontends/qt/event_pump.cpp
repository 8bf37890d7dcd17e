#include "frontends/qt/event_pump.h"

#include <algorithm>
#include <chrono>

namespace zephran::qt {
namespace {

// How soon the timer fires again while a tick is running, so that the nested loop of a
// message box opened by the tick keeps the other timers going.
constexpr std::chrono::milliseconds kNestedLoopPoll{5};

}  // namespace

EventPump::EventPump(CZephranDlg& dialog, const Clock& clock) : dialog_(dialog), clock_(clock) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &EventPump::RunTimers);
    dialog_.SetWakeUpHandler([this] {
        if (!wakePosted_.exchange(true)) {
            QMetaObject::invokeMethod(this, &EventPump::ProcessPortEvents, Qt::QueuedConnection);
        }
    });
}

EventPump::~EventPump() {
    dialog_.SetWakeUpHandler(nullptr);
}

void EventPump::Reschedule() {
    const auto due = dialog_.NextTimerDue();
    if (!due) {
        timer_.stop();
        return;
    }
    const std::int64_t wait = std::max<std::int64_t>(0, *due - clock_.SteadyMs());
    timer_.start(std::chrono::milliseconds(wait));
}

void EventPump::RunTimers() {
    timer_.start(kNestedLoopPoll);
    dialog_.RunDueTimers();
    Reschedule();
}

void EventPump::ProcessPortEvents() {
    wakePosted_ = false;
    dialog_.ProcessPortEvents();
    Reschedule();
}

}  // namespace zephran::qt
