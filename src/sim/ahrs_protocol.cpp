#include "sim/ahrs_protocol.h"

#include <chrono>
#include <utility>

namespace zephran::sim::ahrs {

void HandleExact(Board& board, std::uint8_t msgId, std::size_t length, Board::Handler handler) {
    board.Handle(
        kGroup, msgId,
        [length, handler = std::move(handler)](std::span<const std::uint8_t> request, Board& b) {
            if (request.size() == length) handler(request, b);
        });
}

void HandleCommand(Board& board, std::uint8_t msgId, std::function<void(Board&)> action) {
    HandleExact(board, msgId, 0,
                [msgId, action = std::move(action)](std::span<const std::uint8_t>, Board& b) {
                    action(b);
                    b.Send(kGroup, msgId);
                });
}

void HandleRead(Board& board, std::uint8_t msgId, std::function<Bytes()> reply) {
    HandleExact(board, msgId, 0,
                [msgId, reply = std::move(reply)](std::span<const std::uint8_t>, Board& b) {
                    b.Send(kGroup, msgId, reply());
                });
}

void PutVec3(Bytes& out, std::size_t offset, const Vec3& value) {
    for (std::size_t i = 0; i < value.size(); ++i)
        PutFloat(out, offset + 4 * i, static_cast<float>(value[i]));
}

double BoardSeconds(const Board& board) {
    return std::chrono::duration<double>(board.Uptime()).count();
}

}  // namespace zephran::sim::ahrs
