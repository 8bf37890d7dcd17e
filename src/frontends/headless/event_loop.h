#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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
    // Handles port events and timers until input waits on the descriptor fd, then reads it: the
    // bytes read, 0 at the input's end, -1 when it fails.
    long ReadInput(int fd, char* buffer, std::size_t size);

    // The platform's waiting: for a wake-up, or for one as well as input.
    class Waiter {
    public:
        virtual ~Waiter() = default;
        // Any thread.
        virtual void Signal() = 0;
        // Clears the wake-up; whether there was one.
        virtual bool TakeSignal() = 0;
        // Returns on a wake-up or after timeoutMs (-1: none).
        virtual void WaitSignal(int timeoutMs) = 0;
        // Returns on a wake-up, after timeoutMs (-1: none), or true when input waits on fd.
        virtual bool WaitSignalOrInput(int fd, int timeoutMs) = 0;
        // Reads input that waits on fd, as ReadInput; nothing when there was none after all.
        virtual std::optional<long> Read(int fd, char* buffer, std::size_t size) = 0;
    };

private:
    void TakePortEvents();
    // Milliseconds until the next timer tick, or -1 when time only moves in Wait.
    int TimerTimeoutMs() const;

    LoopClient& client_;
    SystemClock systemClock_;
    VirtualClock virtualClock_;
    bool virtualTime_;
    std::unique_ptr<Waiter> waiter_;
};

// The platform's Waiter.
std::unique_ptr<EventLoop::Waiter> MakeWaiter();

}  // namespace zephran::headless
