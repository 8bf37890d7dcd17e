#include <gtest/gtest.h>

#include <cmath>

#include "sim/aat_board.h"
#include "sim/frame_codec.h"

namespace zephran::sim {
namespace {

class SimAat : public ::testing::Test {
protected:
    std::vector<Frame> Ask(std::uint8_t msgId, const Bytes& payload = {}) {
        board.Receive(EncodeFrame(11, msgId, payload), Clock::time_point{});
        return FrameDecoder().Feed(board.TakeOutput());
    }
    Bytes Answer(std::uint8_t msgId) {
        const auto frames = Ask(msgId);
        EXPECT_EQ(frames.size(), 1u) << int(msgId);
        return frames.empty() ? Bytes{} : frames[0].payload;
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Ask(msgId, payload) == std::vector<Frame>{{11, msgId, {}}};
    }

    Board board{"AAT", "test board", Clock::time_point{}};
    void SetUp() override { InstallAat(board); }
};

// Offsets 4 and -7 as they leave the bench; -5 and 100 as FB 64.
TEST_F(SimAat, OffsetsAreSignedBytesWithinTheirRange) {
    board.Receive(EncodeFrame(11, 18, {}), Clock::time_point{});
    EXPECT_EQ(board.TakeOutput(),
              (Bytes{0x54, 0x4D, 0x0B, 0x12, 0x02, 0x00, 0x04, 0xF9, 0x7A, 0x42}));
    EXPECT_TRUE(Acknowledged(19, {0xFB, 0x64}));
    EXPECT_EQ(Answer(18), (Bytes{0xFB, 0x64}));
    EXPECT_TRUE(Ask(19, {0x65, 0x00}).empty());  // 101
    EXPECT_TRUE(Ask(19, {0x00, 0x80}).empty());  // -128
    EXPECT_TRUE(Ask(19, {0x00}).empty());
    EXPECT_EQ(Answer(18), (Bytes{0xFB, 0x64}));
    EXPECT_TRUE(Acknowledged(20));
    EXPECT_EQ(Answer(18), (Bytes{0x00, 0x00}));
}

// 200, 0, 100, 3, 100 at offsets 0 to 16.
TEST_F(SimAat, YawPidIsFiveFloatsAndItsDefaultRestoresTheFactorySet) {
    const Bytes factory{0x00, 0x00, 0x48, 0x43, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                        0xC8, 0x42, 0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0xC8, 0x42};
    EXPECT_EQ(Answer(23), factory);
    Bytes tuned;
    for (std::size_t k = 0; k < 5; ++k)
        PutFloat(tuned, 4 * k, 10.0f + static_cast<float>(k));
    EXPECT_TRUE(Acknowledged(24, tuned));
    EXPECT_EQ(Answer(23), tuned);
    Bytes bad = tuned;
    PutFloat(bad, 8, NAN);
    EXPECT_TRUE(Ask(24, bad).empty());
    EXPECT_TRUE(Ask(24, Bytes(16)).empty());
    EXPECT_EQ(Answer(23), tuned);
    EXPECT_TRUE(Acknowledged(25));
    EXPECT_EQ(Answer(23), factory);
}

TEST_F(SimAat, StepServoGapAndPowerOnAreKept) {
    EXPECT_EQ(Answer(21), (Bytes{0x00, 0x00, 0x80, 0x3E}));  // 0.25
    EXPECT_EQ(Answer(32), (Bytes{0x0F, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(Acknowledged(22, {0x9A, 0x99, 0x99, 0x3E}));
    EXPECT_FLOAT_EQ(GetFloat(Answer(21), 0), 0.3f);
    EXPECT_TRUE(Ask(22, {0x00, 0x00, 0x80, 0x7F}).empty());  // infinity
    EXPECT_TRUE(Acknowledged(33, {0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Answer(32), (Bytes{0xFD, 0xFF, 0xFF, 0xFF}));

    EXPECT_TRUE(Acknowledged(17, {0x00}));
    EXPECT_TRUE(Acknowledged(17, {0x01}));
    EXPECT_TRUE(Ask(17, {0x02}).empty());
    EXPECT_TRUE(Ask(21, {0x00}).empty());  // a read carries nothing
}

}  // namespace
}  // namespace zephran::sim
