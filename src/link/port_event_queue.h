// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "link/port_event.h"

namespace zephran {

// A port's events on their way from its monitor thread to the user-interface thread, in order.
// Received bytes not taken yet are kept up to a bound; past it the oldest go, and one Discarded
// event at the front counts them. Thread-safe.
class PortEventQueue {
public:
    // The bound for a serial line's received bytes: 32 KiB, over a second at the fastest line
    // rate, so a thread that falls behind sees fresh data after a bounded delay.
    static constexpr std::size_t kSerialLineBytes = 32 * 1024;

    explicit PortEventQueue(std::size_t maxQueuedBytes) : maxQueuedBytes_(maxQueuedBytes) {}

    // Drops what is queued; owner is woken from now on when an event lands on an empty queue.
    void Reset(SerialPortOwner* owner, unsigned portNumber);
    // Received bytes join a Received batch at the back.
    void Push(PortEvent event);
    std::vector<PortEvent> Take();
    void SetMaxQueuedBytes(std::size_t bytes);

private:
    // With mutex_ held: drops the oldest received bytes beyond the bound.
    void TrimReceived();

    std::mutex mutex_;
    SerialPortOwner* owner_ = nullptr;
    unsigned portNumber_ = 0;
    std::vector<PortEvent> events_;
    std::size_t queuedBytes_ = 0;
    std::size_t maxQueuedBytes_;
};

}  // namespace zephran
