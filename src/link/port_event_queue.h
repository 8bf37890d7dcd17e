// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "link/port_event.h"

namespace zephran {

// A port's events on their way from its monitor thread to the user-interface thread. Received
// bytes not taken yet are kept up to a bound; past it the oldest go and a Discarded event at the
// front counts them. Thread-safe.
class PortEventQueue {
public:
    // Over a second at the fastest line rate: a thread that falls behind sees fresh data after
    // a bounded delay.
    static constexpr std::size_t kDefaultMaxQueuedBytes = 32 * 1024;

    explicit PortEventQueue(std::size_t maxQueuedBytes = kDefaultMaxQueuedBytes)
        : maxQueuedBytes_(maxQueuedBytes) {}

    // The owner is woken when an event is queued on an empty queue.
    void SetOwner(SerialPortOwner* owner);
    void Push(PortEvent event);
    std::vector<PortEvent> Take();
    void Clear();
    void SetMaxQueuedBytes(std::size_t bytes);

private:
    // With mutex_ held: drops the oldest received bytes beyond the bound.
    void TrimReceived(unsigned portNumber);

    std::mutex mutex_;
    SerialPortOwner* owner_ = nullptr;
    std::vector<PortEvent> events_;
    std::size_t queuedBytes_ = 0;
    std::size_t maxQueuedBytes_;
};

}  // namespace zephran
