#include "frontends/headless/event_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>

namespace zephran::headless {

EventLoop::EventLoop(LoopClient& client, bool virtualTime)
    : client_(client), virtualTime_(virtualTime), wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventLoop::~EventLoop() {
    if (wakeFd_ >= 0) close(wakeFd_);
}

const Clock& EventLoop::Time() const {
    if (virtualTime_) return virtualClock_;
    return systemClock_;
}

void EventLoop::WakeUp() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
}

void EventLoop::TakePortEvents() {
    // Reset the wake-up before taking the events, so events queued meanwhile wake again.
    std::uint64_t count = 0;
    if (read(wakeFd_, &count, sizeof count) == sizeof count) client_.ProcessPortEvents();
}

void EventLoop::RunPending() {
    TakePortEvents();
    client_.RunDueTimers();
}

int EventLoop::TimerTimeoutMs() const {
    if (virtualTime_) return -1;
    const auto due = client_.NextTimerDue();
    if (!due) return -1;
    return static_cast<int>(std::clamp<std::int64_t>(*due - systemClock_.SteadyMs(), 0, INT_MAX));
}

void EventLoop::Wait(std::int64_t ms) {
    if (virtualTime_) {
        const std::int64_t target = virtualClock_.SteadyMs() + ms;
        for (;;) {
            TakePortEvents();
            const auto due = client_.NextTimerDue();
            if (!due || *due > target) break;
            virtualClock_.AdvanceTo(*due);
            client_.RunDueTimers();
        }
        virtualClock_.AdvanceTo(target);
        return;
    }
    const std::int64_t deadline = systemClock_.SteadyMs() + ms;
    for (;;) {
        RunPending();
        const std::int64_t left = deadline - systemClock_.SteadyMs();
        if (left <= 0) return;
        const int timerTimeout = TimerTimeoutMs();
        int timeout = static_cast<int>(std::min<std::int64_t>(left, INT_MAX));
        if (timerTimeout >= 0) timeout = std::min(timeout, timerTimeout);
        pollfd wake{wakeFd_, POLLIN, 0};
        poll(&wake, 1, timeout);
    }
}

void EventLoop::Pace(std::int64_t ms) {
    if (virtualTime_) {
        pollfd wake{wakeFd_, POLLIN, 0};
        poll(&wake, 1, static_cast<int>(std::min<std::int64_t>(ms, INT_MAX)));
    }
    Wait(ms);
}

void EventLoop::WaitReadable(int fd) {
    for (;;) {
        RunPending();
        std::array<pollfd, 2> fds{{{wakeFd_, POLLIN, 0}, {fd, POLLIN, 0}}};
        const int ready = poll(fds.data(), fds.size(), TimerTimeoutMs());
        // A failing poll leaves it to the caller's read to report the trouble.
        if (ready < 0 ? errno != EINTR : fds[1].revents != 0) return;
    }
}

}  // namespace zephran::headless
