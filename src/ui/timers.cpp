#include "ui/timers.h"

#include <algorithm>

namespace zephran::ui {

void TimerTable::SetTimer(int id, int periodMs, std::int64_t nowMs) {
    periodMs = std::max(periodMs, 1);
    timers_[id] = {periodMs, nowMs + periodMs};
}

std::optional<std::int64_t> TimerTable::NextDue() const {
    std::optional<std::int64_t> next;
    for (const auto& [id, timer] : timers_) {
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

void TimerTable::RunDue(std::int64_t nowMs, const std::function<void(int)>& fire) {
    for (auto& [id, timer] : timers_) {
        if (nowMs - timer.due > 10LL * timer.periodMs) {
            timer.due = nowMs - (nowMs - timer.due) % timer.periodMs;
        }
    }
    while (true) {
        // Earliest due tick; a handler may set or kill timers, so look again after each one.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= nowMs &&
                (next == timers_.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == timers_.end()) return;
        const int id = next->first;
        next->second.due += next->second.periodMs;
        fire(id);
    }
}

}  // namespace zephran::ui
