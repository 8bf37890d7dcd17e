#include "sim/osd_board.h"

#include <array>

namespace zephran::sim {
namespace {

constexpr std::uint8_t kOsdScreenGroup = 13;

// How many options each of the screen settings 1 to 6 has.
constexpr std::array<std::uint8_t, 6> kOptions{2, 3, 3, 2, 2, 2};

}  // namespace

void InstallOsdScreen(Board& board) {
    for (std::uint8_t i = 0; i < kOptions.size(); ++i) {
        const auto msgId = static_cast<std::uint8_t>(i + 1);
        const std::uint8_t options = kOptions[i];
        board.Handle(kOsdScreenGroup, msgId,
                     [msgId, options](std::span<const std::uint8_t> request, Board& b) {
                         if (request.size() == 1 && request[0] < options)
                             b.Send(kOsdScreenGroup, msgId);
                     });
    }
}

}  // namespace zephran::sim
