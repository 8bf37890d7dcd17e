#include <gtest/gtest.h>

#include "sim/autopilot_board.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using Frames = std::vector<Frame>;

// Roll rate to aileron as the board ships it: tag C0, total P 1.0, P 40, I 5, D 10, I threshold
// 20, max I 30, slews 500 and 1000, DP 0.5, maximum output 45.
const Bytes kRollRateFactory{0xC0, 0x00, 0x00, 0x80, 0x3F, 0x28, 0x05, 0x0A, 0x00, 0x00, 0xA0,
                             0x41, 0x00, 0x00, 0xF0, 0x41, 0x00, 0x00, 0xFA, 0x43, 0x00, 0x00,
                             0x7A, 0x44, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x34, 0x42};

class SimAutopilot : public ::testing::Test {
protected:
    Frames Request(std::uint8_t msgId, const Bytes& payload = {}) {
        board->Receive(EncodeFrame(autopilot::kGroup, msgId, payload), Clock::time_point{});
        return FrameDecoder().Feed(board->TakeOutput());
    }
    Bytes Read(std::uint8_t msgId) {
        const Frames frames = Request(msgId);
        EXPECT_EQ(frames.size(), 1u) << int(msgId);
        return frames.empty() ? Bytes{} : frames[0].payload;
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Request(msgId, payload) == Frames{{autopilot::kGroup, msgId, {}}};
    }

    std::unique_ptr<Board> board = MakeBoard("Standard", Clock::time_point{});
};

TEST_F(SimAutopilot, ReadsAnswerWithTheTaggedFactoryRecords) {
    EXPECT_EQ(Read(1), kRollRateFactory);
    for (std::size_t n = 0; n < autopilot::kPidSetCount; ++n) {
        const Bytes record = Read(static_cast<std::uint8_t>(3 * n + 1));
        ASSERT_EQ(record.size(), 32u);
        EXPECT_EQ(record[0], 0xC0 + n);
        EXPECT_EQ(autopilot::DecodePidSet(record), autopilot::FactoryPidSet(n));
    }
    EXPECT_TRUE(Request(1, {0}).empty());
}

TEST_F(SimAutopilot, WriteKeepsTheTagAndDefaultRestoresOneController) {
    // Total P 2.0, P 1, I 2, D 3, then 1.0 in every limit.
    Bytes written{0x00, 0x00, 0x00, 0x00, 0x40, 0x01, 0x02, 0x03};
    for (int k = 0; k < 6; ++k)
        written.insert(written.end(), {0x00, 0x00, 0x80, 0x3F});
    EXPECT_TRUE(Acknowledged(2, written));
    Bytes expected = written;
    expected[0] = 0xC0;
    EXPECT_EQ(Read(1), expected);
    EXPECT_EQ(Read(4), autopilot::EncodePidSet(1, autopilot::FactoryPidSet(1)));

    EXPECT_TRUE(Request(2, Bytes(31, 0)).empty());
    EXPECT_TRUE(Request(3, {0}).empty());
    EXPECT_EQ(Read(1), expected);

    EXPECT_TRUE(Acknowledged(35, written));
    EXPECT_EQ(Read(34)[0], 0xCB);
    EXPECT_TRUE(Acknowledged(3));
    EXPECT_EQ(Read(1), kRollRateFactory);
    EXPECT_EQ(autopilot::DecodePidSet(Read(34)), autopilot::DecodePidSet(written));
}

}  // namespace
}  // namespace zephran::sim
