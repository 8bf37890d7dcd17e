#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "sim/gpsins_board.h"
#include "sim/gpsins_navigation.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using Frames = std::vector<Frame>;

// The QR record as the board ships it: tag 22, then gyro 2e-8, acc 0.002, gyro random walk
// 1e-9, acc random walk 1e-20, GPS horizontal position 0.04, vertical position 0.01, horizontal
// velocity 0.0025, vertical velocity 100, barometer 0.5, acc without GPS 1e-5, magnetic yaw
// 1e-4, acc 0.002.
const Bytes kFactoryQr{0x22, 0x3A, 0x8C, 0x30, 0xE2, 0x8E, 0x79, 0x55, 0x3E, 0xFC, 0xA9, 0xF1, 0xD2,
                       0x4D, 0x62, 0x60, 0x3F, 0x95, 0xD6, 0x26, 0xE8, 0x0B, 0x2E, 0x11, 0x3E, 0x23,
                       0x42, 0x92, 0x0C, 0xA1, 0x9C, 0xC7, 0x3B, 0x7B, 0x14, 0xAE, 0x47, 0xE1, 0x7A,
                       0xA4, 0x3F, 0x7B, 0x14, 0xAE, 0x47, 0xE1, 0x7A, 0x84, 0x3F, 0x7B, 0x14, 0xAE,
                       0x47, 0xE1, 0x7A, 0x64, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x59, 0x40,
                       0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F, 0xF1, 0x68, 0xE3, 0x88, 0xB5,
                       0xF8, 0xE4, 0x3E, 0x2D, 0x43, 0x1C, 0xEB, 0xE2, 0x36, 0x1A, 0x3F, 0xFC, 0xA9,
                       0xF1, 0xD2, 0x4D, 0x62, 0x60, 0x3F};

class SimGpsIns : public ::testing::Test {
protected:
    Frames Request(std::uint8_t msgId, const Bytes& payload = {}) {
        board->Receive(EncodeFrame(gpsins::kGroup, msgId, payload), Clock::time_point{});
        return FrameDecoder().Feed(board->TakeOutput());
    }
    Bytes Read() {
        const Frames frames = Request(gpsins::kQrRead);
        EXPECT_EQ(frames.size(), 1u);
        return frames.empty() ? Bytes{} : frames[0].payload;
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Request(msgId, payload) == Frames{{gpsins::kGroup, msgId, {}}};
    }

    std::unique_ptr<Board> board = MakeBoard("GPSINS", Clock::time_point{});
};

TEST_F(SimGpsIns, ReadAnswersWithTheTaggedFactoryRecord) {
    EXPECT_EQ(Read(), kFactoryQr);
    EXPECT_EQ(gpsins::DecodeQr(kFactoryQr), gpsins::FactoryQr());
    EXPECT_TRUE(Request(gpsins::kQrRead, {0}).empty());
}

TEST_F(SimGpsIns, WriteKeepsTheTagAndDefaultRestoresTheFactoryRecord) {
    // Leading byte 00, then 1.0 in the first parameter and 2.0 in every other.
    Bytes written{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};
    for (int k = 0; k < 11; ++k)
        written.insert(written.end(), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40});
    EXPECT_TRUE(Acknowledged(gpsins::kQrWrite, written));
    Bytes expected = written;
    expected[0] = 0x22;
    EXPECT_EQ(Read(), expected);

    EXPECT_TRUE(Request(gpsins::kQrWrite, Bytes(96, 0)).empty());
    EXPECT_TRUE(Request(gpsins::kQrDefault, {0}).empty());
    EXPECT_EQ(Read(), expected);

    EXPECT_TRUE(Acknowledged(gpsins::kQrDefault));
    EXPECT_EQ(Read(), kFactoryQr);
}

// One second of streaming, frames by msgId.
std::map<std::uint8_t, Frames> StreamFor(Board& board, Clock::duration span) {
    std::map<std::uint8_t, Frames> frames;
    Clock::time_point now{};
    while (const auto due = board.NextDue()) {
        if (*due > now + span) break;
        board.RunDue(*due);
        for (Frame& frame : FrameDecoder().Feed(board.TakeOutput()))
            frames[frame.msgId].push_back(std::move(frame));
    }
    return frames;
}

TEST_F(SimGpsIns, StreamsNavigationAndSensorsAt50HzAndGpsAt5Hz) {
    auto frames = StreamFor(*board, std::chrono::seconds(1));
    EXPECT_EQ(frames[gpsins::kSensorsRaw].size(), 50u);
    EXPECT_EQ(frames[gpsins::kNavOutput].size(), 50u);
    EXPECT_EQ(frames[gpsins::kGpsRaw].size(), 5u);
    EXPECT_EQ(frames[gpsins::kSensorsRaw][0].payload.size(), 41u);
    EXPECT_EQ(frames[gpsins::kGpsRaw][0].payload.size(), 54u);
    EXPECT_EQ(frames[gpsins::kNavOutput][0].payload.size(), 78u);
    // The aircraft moves between two navigation outputs.
    const Frames& nav = frames[gpsins::kNavOutput];
    EXPECT_NE(GetDouble(nav.front().payload, 9), GetDouble(nav.back().payload, 9));
}

TEST(SimGpsInsNavigation, EveryReportedQuantityAgreesWithTheFlight) {
    for (double t : {0.0, 13.7, 61.2}) {
        const NavigationState s = NavigationAt(t);
        // 200 m around home, 15 m/s along a circle, heading along the track.
        const double north = (s.lat - kHomeLat) / kDegPerRad * 6378137;
        const double east =
            (s.lon - kHomeLon) / kDegPerRad * 6378137 * std::cos(kHomeLat / kDegPerRad);
        EXPECT_NEAR(std::hypot(north, east), 200, 0.01);
        EXPECT_NEAR(std::hypot(s.velocity[0], s.velocity[1]), 15, 1e-9);
        EXPECT_NEAR(north * s.velocity[0] + east * s.velocity[1], 0, 1e-6);
        const double track = WrapHeading(std::atan2(s.velocity[1], s.velocity[0]) * kDegPerRad);
        EXPECT_NEAR(s.attitude.yaw, track, 1e-9);
        // A coordinated right turn: banked right, the field and the force in body axes.
        EXPECT_GT(s.attitude.roll, 0);
        EXPECT_NEAR(s.force[1], 0, 0.05);
        EXPECT_NEAR(std::hypot(s.field[0], s.field[1], s.field[2]), 480, 0.1);
        EXPECT_NEAR(s.field[0], ToBody(s.attitude, kEarthField)[0], 1e-9);
        // The quaternion is of unit length and turns a body axis where the angles do.
        const auto& q = s.q;
        EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1, 1e-12);
        const double yaw =
            std::atan2(2 * (q[2] * q[1] + q[3] * q[0]), 1 - 2 * (q[2] * q[2] + q[3] * q[3])) *
            kDegPerRad;
        EXPECT_NEAR(WrapHeading(yaw), s.attitude.yaw, 1e-6);
        // The yaw rate of the turn, 15/200 rad/s, is mostly about the body's down axis.
        EXPECT_NEAR(std::hypot(s.rates[0], s.rates[1], s.rates[2]), 0.075, 0.003);
    }
    // Height changes as the vertical velocity says.
    const double climb = (NavigationAt(10.01).height - NavigationAt(9.99).height) / 0.02;
    EXPECT_NEAR(climb, -NavigationAt(10).velocity[2], 1e-3);
}

TEST(SimGpsInsNavigation, RecordsCarryTheStateAtTheirOffsets) {
    const NavigationState s = NavigationAt(5);
    const Bytes nav = gpsins::EncodeNavOutput(s);
    EXPECT_EQ(GetDouble(nav, 1), s.lon);
    EXPECT_EQ(GetDouble(nav, 9), s.lat);
    EXPECT_FLOAT_EQ(GetFloat(nav, 33), static_cast<float>(s.q[0]));
    EXPECT_FLOAT_EQ(GetFloat(nav, 57), static_cast<float>(s.rates[2]));
    EXPECT_EQ(GetU8(nav, 73), 11);
    EXPECT_FLOAT_EQ(GetFloat(nav, 74), 1.0f);
    const Bytes gps = gpsins::EncodeGpsRaw(s, 5, 216005000);
    EXPECT_EQ(GetU8(gps, 0), 1);
    EXPECT_EQ(GetI32(gps, 1), 216005000);
    // 2027-01-15 08:00:00.250 UTC: 460,818.25 s into GPS week 2453.
    EXPECT_EQ(gpsins::GpsWeekMs(std::chrono::system_clock::from_time_t(1'800'000'000) +
                                std::chrono::milliseconds(250)),
              460'818'250);
    EXPECT_EQ(GetU8(gps, 25), 3);
    EXPECT_NEAR(GetFloat(gps, 46), 15, 1e-4);
    const Bytes raw = gpsins::EncodeSensorsRaw(s);
    EXPECT_FLOAT_EQ(GetFloat(raw, 21), static_cast<float>(s.force[2]));
    EXPECT_FLOAT_EQ(GetFloat(raw, 37), static_cast<float>(s.height));
}

TEST_F(SimGpsIns, MiscSettingsAreStoredWithTheBoardsLeadingByte) {
    const Frames first = Request(gpsins::kMiscRead);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].payload, (Bytes{0x31, 0, 2, 0, 0, 0, 0}));
    EXPECT_TRUE(Acknowledged(gpsins::kMiscWrite, {0x00, 3, 1, 1, 0, 1, 0}));
    EXPECT_TRUE(Request(gpsins::kMiscWrite, {0x00, 3}).empty());
    EXPECT_EQ(Request(gpsins::kMiscRead)[0].payload, (Bytes{0x31, 3, 1, 1, 0, 1, 0}));
}

TEST_F(SimGpsIns, AnswersTheSensorCalibrationRequestsAsTheAhrsBoardDoes) {
    // Accelerometer offsets read (15/5) and the six-face accelerometer coefficients (15/55).
    board->Receive(EncodeFrame(15, 5, {}), Clock::time_point{});
    board->Receive(EncodeFrame(15, 55, {}), Clock::time_point{});
    const Frames frames = FrameDecoder().Feed(board->TakeOutput());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].payload.size(), 25u);
    EXPECT_EQ(frames[1].payload.size(), 25u);
}

}  // namespace
}  // namespace zephran::sim
