// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/pending_requests.h"

#include <algorithm>
#include <iterator>

#include "link/link_frame.h"

namespace zephran {

void PendingRequests::Add(std::uint8_t group, std::uint8_t msgId, std::size_t frameBytes,
                          unsigned baud) {
    // Ten bits a byte on the wire, 100 ticks a second; whole ticks, so a short frame adds none.
    constexpr std::size_t kLongest = 60000;
    const std::size_t wireTicks = frameBytes * 1000 / std::max(baud, 1u);
    const auto ticks = static_cast<std::uint16_t>(std::min(100 + wireTicks, kLongest));
    list_.push_back({RequestKey(group, msgId), group, msgId, ticks, ticks});
}

std::size_t PendingRequests::Remove(std::uint8_t group, std::uint8_t msgId) {
    const std::uint16_t key = RequestKey(group, msgId);
    return std::erase_if(list_,
                         [key](const PendingRequest& request) { return request.key == key; });
}

void PendingRequests::CountDown() {
    for (PendingRequest& request : list_) {
        if (request.remaining > 1) --request.remaining;
    }
}

std::vector<PendingRequest> PendingRequests::TakeExpired() {
    std::vector<PendingRequest> expired;
    std::copy_if(list_.begin(), list_.end(), std::back_inserter(expired),
                 [](const PendingRequest& request) { return request.remaining < 2; });
    std::erase_if(list_, [](const PendingRequest& request) { return request.remaining < 2; });
    return expired;
}

}  // namespace zephran
