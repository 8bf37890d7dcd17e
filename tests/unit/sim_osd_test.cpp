#include <gtest/gtest.h>

#include "sim/frame_codec.h"
#include "sim/osd_board.h"

namespace zephran::sim {
namespace {

TEST(SimOsd, ScreenSettingsWithAnOptionTheyHaveAreAcknowledged) {
    Board board("Vantrel", "test board", Clock::time_point{});
    InstallOsdScreen(board);
    const auto ask = [&](std::uint8_t msgId, const Bytes& payload) {
        board.Receive(EncodeFrame(13, msgId, payload), Clock::time_point{});
        return board.TakeOutput();
    };
    EXPECT_EQ(ask(3, {2}), (Bytes{0x54, 0x4D, 0x0D, 0x03, 0x00, 0x00, 0xF2, 0xAC}));
    EXPECT_EQ(FrameDecoder().Feed(ask(6, {1})), (std::vector<Frame>{{13, 6, {}}}));
    EXPECT_TRUE(ask(2, {3}).empty());  // radar has three options
    EXPECT_TRUE(ask(1, {}).empty());
    EXPECT_TRUE(ask(7, {0}).empty());
}

}  // namespace
}  // namespace zephran::sim
