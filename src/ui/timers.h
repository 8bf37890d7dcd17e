#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace zephran::ui {

// A window's timers by id. The front end runs the due ticks on the user-interface thread.
class TimerTable {
public:
    void SetTimer(int id, int periodMs, std::int64_t nowMs);
    void KillTimer(int id) { timers_.erase(id); }
    bool IsRunning(int id) const { return timers_.count(id) != 0; }

    // Fires every tick due at or before nowMs, in time order (ties by id). A timer that fell
    // more than ten periods behind skips to the present instead of firing a burst.
    void RunDue(std::int64_t nowMs, const std::function<void(int)>& fire);
    std::optional<std::int64_t> NextDue() const;

private:
    struct Timer {
        int periodMs;
        std::int64_t due;
    };
    std::map<int, Timer> timers_;
};

}  // namespace zephran::ui
