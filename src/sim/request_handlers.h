#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/board.h"

namespace zephran::sim {

using Request = std::span<const std::uint8_t>;

// Registers a request of the given payload size; other sizes are malformed and go unanswered.
template <typename Answer>
void On(Board& board, std::uint8_t group, std::uint8_t msgId, std::size_t size, Answer answer) {
    board.Handle(group, msgId, [size, answer](Request request, Board& b) {
        if (request.size() == size) answer(request, b);
    });
}

// Registers a change acknowledged with an empty frame of its own id when the board accepts it;
// a change it refuses goes unanswered.
template <typename Change>
void OnChange(Board& board, std::uint8_t group, std::uint8_t msgId, std::size_t size,
              Change change) {
    On(board, group, msgId, size, [group, msgId, change](Request request, Board& b) {
        if (change(request)) b.Send(group, msgId);
    });
}

}  // namespace zephran::sim
