// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontends/headless/event_loop.h"

#include <algorithm>
#include <climits>

namespace zephran::headless {

EventLoop::EventLoop(LoopClient& client, bool virtualTime)
    : client_(client), virtualTime_(virtualTime), waiter_(MakeWaiter()) {}

EventLoop::~EventLoop() = default;

const Clock& EventLoop::Time() const {
    if (virtualTime_) return virtualClock_;
    return systemClock_;
}

void EventLoop::WakeUp() {
    waiter_->Signal();
}

void EventLoop::TakePortEvents() {
    // Reset the wake-up before taking the events, so events queued meanwhile wake again.
    if (waiter_->TakeSignal()) client_.ProcessPortEvents();
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
        waiter_->WaitSignal(timeout);
    }
}

void EventLoop::Pace(std::int64_t ms) {
    if (virtualTime_) waiter_->WaitSignal(static_cast<int>(std::min<std::int64_t>(ms, INT_MAX)));
    Wait(ms);
}

long EventLoop::ReadInput(int fd, char* buffer, std::size_t size) {
    for (;;) {
        RunPending();
        if (!waiter_->WaitSignalOrInput(fd, TimerTimeoutMs())) continue;
        if (const auto count = waiter_->Read(fd, buffer, size)) return *count;
    }
}

}  // namespace zephran::headless
