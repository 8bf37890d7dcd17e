#include <gtest/gtest.h>

#include <cmath>

#include "sim/aat_board.h"
#include "sim/frame_codec.h"
#include "sim/multicopter_board.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;

class SimAatTracker : public ::testing::Test {
protected:
    void SetUp() override { InstallAat(board); }
    std::vector<Frame> Ask(std::uint8_t msgId, const Bytes& payload = {}) {
        board.Receive(EncodeFrame(11, msgId, payload), now);
        return FrameDecoder().Feed(board.TakeOutput());
    }
    float AnswerFloat(std::uint8_t msgId, std::size_t offset = 0) {
        const auto frames = Ask(msgId);
        EXPECT_EQ(frames.size(), 1u) << int(msgId);
        return frames.empty() ? NAN : GetFloat(frames[0].payload, offset);
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Ask(msgId, payload) == std::vector<Frame>{{11, msgId, {}}};
    }
    // The frames of msgId the board sends on its own over a stretch of time.
    std::vector<Frame> Run(Clock::duration span, std::uint8_t msgId) {
        std::vector<Frame> frames;
        const auto end = now + span;
        while (now < end) {
            now += 10ms;
            board.RunDue(now);
            for (Frame& f : FrameDecoder().Feed(board.TakeOutput()))
                if (f.msgId == msgId) frames.push_back(std::move(f));
        }
        return frames;
    }

    Board board{"AAT", "test board", Clock::time_point{}};
    Clock::time_point now{};
};

TEST_F(SimAatTracker, SpeedAndCompassOffsetAreKeptAndRestoredByTheDefault) {
    EXPECT_EQ(AnswerFloat(5), 4000.0f);
    EXPECT_EQ(AnswerFloat(7), 0.0f);
    EXPECT_TRUE(Acknowledged(6, {0x00, 0x00, 0x7A, 0x44}));  // 1000
    Bytes offset;
    PutFloat(offset, 0, -2.5f);
    EXPECT_TRUE(Acknowledged(8, offset));
    EXPECT_EQ(AnswerFloat(5), 1000.0f);
    EXPECT_EQ(AnswerFloat(7), -2.5f);
    EXPECT_TRUE(Ask(6, {0x00, 0x00, 0x00, 0x00}).empty());  // a speed of 0 would never turn
    EXPECT_TRUE(Ask(8, {0x00, 0x00, 0xC0, 0x7F}).empty());  // NaN
    EXPECT_TRUE(Ask(6, {0x00, 0x00, 0x7A}).empty());
    EXPECT_TRUE(Acknowledged(4));
    EXPECT_EQ(AnswerFloat(5), 4000.0f);
    EXPECT_EQ(AnswerFloat(7), 0.0f);
}

// At 4000 the head turns 80 degrees a second: one turn, then offsets and scales from it.
TEST_F(SimAatTracker, CalibrationTurnsOnceWithGrowingExtremesThenSetsOffsetsAndScales) {
    EXPECT_EQ(AnswerFloat(3, 0), 0.0f);
    EXPECT_EQ(AnswerFloat(3, 12), 1.0f);
    EXPECT_TRUE(Run(1s, 0).empty());
    EXPECT_TRUE(Acknowledged(1));
    const auto reports = Run(8s, 0);
    ASSERT_GE(reports.size(), 44u);
    ASSERT_LE(reports.size(), 46u);
    for (std::size_t k = 1; k < reports.size(); ++k) {
        const Bytes& before = reports[k - 1].payload;
        const Bytes& after = reports[k].payload;
        ASSERT_EQ(after.size(), 36u);
        for (std::size_t axis = 0; axis < 2; ++axis) {
            EXPECT_LE(GetFloat(after, 12 + 4 * axis), GetFloat(before, 12 + 4 * axis));
            EXPECT_GE(GetFloat(after, 24 + 4 * axis), GetFloat(before, 24 + 4 * axis));
            EXPECT_GE(GetFloat(after, 4 * axis), GetFloat(after, 12 + 4 * axis));
            EXPECT_LE(GetFloat(after, 4 * axis), GetFloat(after, 24 + 4 * axis));
        }
    }
    const Bytes& last = reports.back().payload;
    const float xMin = GetFloat(last, 12), yMin = GetFloat(last, 16);
    const float xMax = GetFloat(last, 24), yMax = GetFloat(last, 28);
    EXPECT_NEAR(xMax - xMin, 840, 10);  // the field of 420 in x, 0.9 of it in y
    EXPECT_NEAR(yMax - yMin, 756, 10);
    EXPECT_FLOAT_EQ(AnswerFloat(3, 0), (xMax + xMin) / 2);
    EXPECT_FLOAT_EQ(AnswerFloat(3, 4), (yMax + yMin) / 2);
    EXPECT_NEAR(AnswerFloat(3, 0), 38, 1);
    EXPECT_NEAR(AnswerFloat(3, 4), -24, 1);
    const float mean = ((xMax - xMin) + (yMax - yMin)) / 4;
    EXPECT_FLOAT_EQ(AnswerFloat(3, 12), mean / ((xMax - xMin) / 2));
    EXPECT_FLOAT_EQ(AnswerFloat(3, 16), mean / ((yMax - yMin) / 2));
    EXPECT_EQ(AnswerFloat(3, 20), 1.0f);

    EXPECT_TRUE(Acknowledged(4));
    EXPECT_EQ(AnswerFloat(3, 0), 0.0f);
    EXPECT_EQ(AnswerFloat(3, 16), 1.0f);
}

TEST_F(SimAatTracker, StatusFollowsTheTargetOnceConnected) {
    EXPECT_TRUE(Run(1s, 11).empty());
    board.SetConnected();
    const auto status = Run(20s, 11);
    ASSERT_GE(status.size(), 99u);
    std::int16_t firstYaw = GetI16(status.front().payload, 2), lastYaw = firstYaw;
    for (const Frame& f : status) {
        ASSERT_EQ(f.payload.size(), 14u);
        const std::int16_t pitch = GetI16(f.payload, 0), yaw = GetI16(f.payload, 2);
        EXPECT_GE(pitch, 0);
        EXPECT_LE(pitch, 9000);
        EXPECT_LE(std::abs(yaw - lastYaw), 1800);  // at most 90 degrees a second
        lastYaw = yaw;
        EXPECT_EQ(GetI32(f.payload, 4), 225431234);
        EXPECT_EQ(GetI32(f.payload, 8), 1139472100);
        EXPECT_EQ(GetI16(f.payload, 12), 35);
    }
    EXPECT_NE(lastYaw, firstYaw);
    // After 20 s the head has reached the target: it no longer moves at its full rate.
    const std::int16_t a = GetI16(status[status.size() - 2].payload, 2);
    EXPECT_LT(std::abs(lastYaw - a), 300);
}

TEST(SimMulticopter, AcknowledgesEitherOutputChoiceOnly) {
    Board board{"Multicopter", "test board", Clock::time_point{}};
    InstallMulticopter(board);
    const auto ask = [&](const Bytes& payload) {
        board.Receive(EncodeFrame(17, 1, payload), Clock::time_point{});
        return FrameDecoder().Feed(board.TakeOutput());
    };
    EXPECT_EQ(ask({0x01}), (std::vector<Frame>{{17, 1, {}}}));
    EXPECT_EQ(ask({0x00}), (std::vector<Frame>{{17, 1, {}}}));
    EXPECT_TRUE(ask({0x02}).empty());
    EXPECT_TRUE(ask({}).empty());
}

}  // namespace
}  // namespace zephran::sim
