// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_event_queue.h"

#include <algorithm>
#include <utility>

namespace zephran {

void PortEventQueue::SetOwner(SerialPortOwner* owner) {
    const std::lock_guard lock(mutex_);
    owner_ = owner;
}

void PortEventQueue::Push(PortEvent event) {
    bool wasEmpty;
    SerialPortOwner* owner;
    {
        const std::lock_guard lock(mutex_);
        owner = owner_;
        wasEmpty = events_.empty();
        const unsigned portNumber = event.portNumber;
        const bool received = event.kind == PortEvent::Kind::Received;
        if (received) queuedBytes_ += event.bytes.size();
        if (received && !wasEmpty && events_.back().kind == PortEvent::Kind::Received) {
            auto& batch = events_.back().bytes;
            batch.insert(batch.end(), event.bytes.begin(), event.bytes.end());
        } else {
            events_.push_back(std::move(event));
        }
        if (queuedBytes_ > maxQueuedBytes_) TrimReceived(portNumber);
    }
    if (wasEmpty && owner != nullptr) owner->WakeUp();
}

std::vector<PortEvent> PortEventQueue::Take() {
    const std::lock_guard lock(mutex_);
    queuedBytes_ = 0;
    return std::exchange(events_, {});
}

void PortEventQueue::Clear() {
    const std::lock_guard lock(mutex_);
    events_.clear();
    queuedBytes_ = 0;
}

void PortEventQueue::SetMaxQueuedBytes(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    maxQueuedBytes_ = bytes;
}

void PortEventQueue::TrimReceived(unsigned portNumber) {
    std::size_t excess = queuedBytes_ - maxQueuedBytes_;
    std::size_t dropped = 0;
    for (PortEvent& event : events_) {
        if (event.kind != PortEvent::Kind::Received) continue;
        const std::size_t cut = std::min(excess, event.bytes.size());
        event.bytes.erase(event.bytes.begin(), event.bytes.begin() + static_cast<long>(cut));
        excess -= cut;
        dropped += cut;
        if (excess == 0) break;
    }
    std::erase_if(events_, [](const PortEvent& event) {
        return event.kind == PortEvent::Kind::Received && event.bytes.empty();
    });
    queuedBytes_ -= dropped;
    // The count goes first, where the dropped bytes were; one entry sums every drop.
    if (!events_.empty() && events_.front().kind == PortEvent::Kind::Discarded) {
        events_.front().discarded += dropped;
    } else {
        events_.insert(events_.begin(), PortEvent{.kind = PortEvent::Kind::Discarded,
                                                  .portNumber = portNumber,
                                                  .discarded = dropped});
    }
}

}  // namespace zephran
