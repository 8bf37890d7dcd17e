#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "sim/ahrs_model.h"
#include "sim/board.h"
#include "sim/messages.h"

namespace zephran::sim::ahrs {

// Registers the handler of request msgId for payloads of exactly `length` bytes; a request of
// any other length is ignored like an unknown one.
void HandleExact(Board& board, std::uint8_t msgId, std::size_t length, Board::Handler handler);
// An empty request that runs `action` and is acknowledged with an empty frame of its id.
void HandleCommand(Board& board, std::uint8_t msgId, std::function<void(Board&)> action);
// An empty request answered under its own id with the record `reply` builds.
void HandleRead(Board& board, std::uint8_t msgId, std::function<Bytes()> reply);

// Three floats from the offset on.
void PutVec3(Bytes& out, std::size_t offset, const Vec3& value);

// Board time in seconds since power-on, the attitude model's clock.
double BoardSeconds(const Board& board);

}  // namespace zephran::sim::ahrs
