#pragma once

#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace zephran::headless {

// What the loop keeps running: the main dialog's port events and timers.
class LoopClient {
public:
    virtual ~LoopClient() = default;
    virtual void ProcessPortEvents() = 0;
    virtual std::optional<std::int64_t> NextTimerDue() = 0;
    virtual void RunDueTimers() = 0;
};

// Handles port events and timers on the user-interface thread while it waits, for input or for
// a span of time. In real time the timers follow the steady clock; in virtual time the clock
// moves only in Wait, from one due tick to the next.
class EventLoop {
public:
    EventLoop(LoopClient& client, bool virtualTime);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // The clock the client's timers are to read.
    const Clock& Time() const;

    // Any thread: port events are waiting. They are handled on the loop's thread.
    void WakeUp();
    // Handles the port events waiting and the timer ticks due now.
    void RunPending();
    // Lets ms milliseconds pass while handling port events and timers.
    void Wait(std::int64_t ms);
    // Wait, for a step of something that waits for the board: on the virtual clock it first
    // gives the board up to ms of real time to answer, so its replies keep pace with the clock.
    void Pace(std::int64_t ms);
    // Handles port events and timers until fd is readable or has hung up.
    void WaitReadable(int fd);

private:
    void TakePortEvents();
    // Milliseconds until the next timer tick, or -1 when time only moves in Wait.
    int TimerTimeoutMs() const;

    LoopClient& client_;
    SystemClock systemClock_;
    VirtualClock virtualClock_;
    bool virtualTime_;
    int wakeFd_;
};

}  // namespace zephran::headless
