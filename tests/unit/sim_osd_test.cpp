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

class SimOsdCal : public ::testing::Test {
protected:
    std::vector<Frame> Ask(std::uint8_t msgId, const Bytes& payload = {}) {
        board.Receive(EncodeFrame(9, msgId, payload), Clock::time_point{});
        return FrameDecoder().Feed(board.TakeOutput());
    }
    Bytes Answer(std::uint8_t msgId, const Bytes& payload = {}) {
        const auto frames = Ask(msgId, payload);
        EXPECT_EQ(frames.size(), 1u) << int(msgId);
        return frames.empty() ? Bytes{} : frames[0].payload;
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Ask(msgId, payload) == std::vector<Frame>{{9, msgId, {}}};
    }
    static Bytes Pair(float a, float b) {
        Bytes out;
        PutFloat(out, 0, a);
        PutFloat(out, 4, b);
        return out;
    }

    Board board{"Vantrel", "test board", Clock::time_point{}};
    void SetUp() override { InstallOsdCalibration(board); }
};

// Bias 0.5 and scale 0.05 at offsets 0 and 4.
TEST_F(SimOsdCal, CalibrationPairsAreKeptAndRestored) {
    board.Receive(EncodeFrame(9, 7, {}), Clock::time_point{});
    EXPECT_EQ(board.TakeOutput(), (Bytes{0x54, 0x4D, 0x09, 0x07, 0x08, 0x00, 0x00, 0x00, 0x00, 0x3F,
                                         0xCD, 0xCC, 0x4C, 0x3D, 0x98, 0x05}));
    EXPECT_TRUE(Acknowledged(6, Pair(0.6f, 0.04f)));
    EXPECT_EQ(Answer(7), Pair(0.6f, 0.04f));
    EXPECT_TRUE(Ask(6, Bytes(4)).empty());
    EXPECT_TRUE(Acknowledged(10, Pair(0.1f, 10.9f)));
    EXPECT_TRUE(Acknowledged(12));
    EXPECT_EQ(Answer(7), Pair(0.5f, 0.05f));
    EXPECT_EQ(Answer(11), Pair(0.1f, 10.9f));
    EXPECT_TRUE(Acknowledged(13));
    EXPECT_EQ(Answer(11), Pair(0.0f, 11.0f));
}

// A one-point calibration moves one of its pair through the value given and keeps the other.
TEST_F(SimOsdCal, OnePointBiasAndVoltageMoveOneOfThePair) {
    Bytes two;
    PutFloat(two, 0, 2);
    EXPECT_TRUE(Acknowledged(1, two));  // at 2 A the sensor reads 0.68 V, the scale stays 0.05
    EXPECT_NEAR(GetFloat(Answer(7), 0), 0.68 - 0.05 * 2, 1e-5);
    EXPECT_FLOAT_EQ(GetFloat(Answer(7), 4), 0.05f);

    Bytes twelve;
    PutFloat(twelve, 0, 12);
    EXPECT_TRUE(Acknowledged(3, twelve));  // 12 V reads 12 / 10.9 through the kept bias 0
    EXPECT_FLOAT_EQ(GetFloat(Answer(11), 0), 0.0f);
    EXPECT_NEAR(GetFloat(Answer(11), 4), 10.9, 1e-4);
    EXPECT_TRUE(Ask(3, Bytes(4)).empty());  // zero volts is refused and changes nothing
    EXPECT_NEAR(GetFloat(Answer(11), 4), 10.9, 1e-4);
}

TEST_F(SimOsdCal, PointsReadTheSensorsAndTheRssiRangeComesFromASweep) {
    Bytes tenAmperes;
    PutFloat(tenAmperes, 0, 10);
    EXPECT_FLOAT_EQ(GetFloat(Answer(5, tenAmperes), 0), 1.0f);
    EXPECT_TRUE(Ask(4).empty());
    EXPECT_FLOAT_EQ(GetFloat(Answer(9), 0), 16.8f / 10.9f);
    EXPECT_TRUE(Acknowledged(2, tenAmperes));  // one-point scale through the stored bias 0.5
    EXPECT_FLOAT_EQ(GetFloat(Answer(7), 4), 0.05f);
    EXPECT_TRUE(Ask(2, Bytes(4)).empty());  // zero amperes

    EXPECT_TRUE(Acknowledged(16));
    EXPECT_EQ(Answer(14), Pair(0.0f, 3.3f));
    EXPECT_TRUE(Acknowledged(15));
    EXPECT_TRUE(Acknowledged(16));
    EXPECT_EQ(Answer(14), Pair(0.42f, 2.87f));
}

}  // namespace
}  // namespace zephran::sim
