#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "sim/board.h"
#include "sim/byte_order.h"

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

// A float the board keeps: its read answers it alone, its set takes a value `accept` allows.
template <typename Owner, typename Accept>
void OnKeptFloat(Board& board, std::uint8_t group, std::uint8_t readId, std::uint8_t setId,
                 std::shared_ptr<Owner> owner, float Owner::*value, Accept accept) {
    On(board, group, readId, 0, [=](Request, Board& b) {
        Bytes out;
        PutFloat(out, 0, (*owner).*value);
        b.Send(group, readId, out);
    });
    OnChange(board, group, setId, 4, [=](Request r) {
        const float v = GetFloat(r, 0);
        if (!accept(v)) return false;
        (*owner).*value = v;
        return true;
    });
}

}  // namespace zephran::sim
