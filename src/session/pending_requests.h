// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zephran {

// One request written while connected and not answered yet.
struct PendingRequest {
    std::uint16_t key;
    std::uint8_t group;
    std::uint8_t msgId;
    std::uint16_t remaining;
    std::uint16_t total;
};

// The requests awaiting their replies, counted down in ticks of 10 ms.
class PendingRequests {
public:
    // A request's time-out is 100 ticks after its frame has left: a long frame at a low baud rate
    // (a firmware page at 9600 baud takes over a second) gets its time on the wire.
    void Add(std::uint8_t group, std::uint8_t msgId, std::size_t frameBytes, unsigned baud);
    // Takes every request for group and msgId off the list; returns how many there were.
    std::size_t Remove(std::uint8_t group, std::uint8_t msgId);
    // Counts every request down one tick.
    void CountDown();
    // Takes the expired requests off the list and returns them in the order they were added.
    std::vector<PendingRequest> TakeExpired();

    const std::vector<PendingRequest>& List() const { return list_; }
    bool Empty() const { return list_.empty(); }

private:
    std::vector<PendingRequest> list_;
};

}  // namespace zephran
