#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sim/ahrs_calibration.h"
#include "sim/ahrs_model.h"
#include "sim/ahrs_params.h"
#include "sim/ahrs_protocol.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;
using namespace ahrs;
using Frames = std::vector<Frame>;

const Clock::time_point kStart{};

struct Live {
    std::uint8_t flags;
    Attitude attitude;
    Vec3 gyro, acc, mag;
};

Vec3 Vec3At(const Bytes& payload, std::size_t offset) {
    return {GetFloat(payload, offset), GetFloat(payload, offset + 4),
            GetFloat(payload, offset + 8)};
}

Live ParseLive(const Frame& frame) {
    const Bytes& p = frame.payload;
    return {p[0],
            {GetFloat(p, 1), GetFloat(p, 5), GetFloat(p, 9)},
            Vec3At(p, 13),
            Vec3At(p, 25),
            Vec3At(p, 37)};
}

double Norm(const Vec3& v) {
    return std::hypot(v[0], v[1], v[2]);
}

double Radians(double degrees) {
    return degrees / kDegPerRad;
}

// Difference of two headings in -180..180.
double AngleDiff(double a, double b) {
    return std::remainder(a - b, 360.0);
}

// Tilt-compensated compass heading of a body frame x forward, y right, z down.
double CompassHeading(const Live& live) {
    const double r = Radians(live.attitude.roll);
    const double p = Radians(live.attitude.pitch);
    const Vec3& m = live.mag;
    const double x = m[0] * std::cos(p) + (m[1] * std::sin(r) + m[2] * std::cos(r)) * std::sin(p);
    const double y = m[1] * std::cos(r) - m[2] * std::sin(r);
    return WrapHeading(std::atan2(-y, x) * kDegPerRad);
}

void ExpectNear(const Vec3& actual, const Vec3& expected, double tolerance) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "axis " << i;
}

class AhrsBoardTest : public ::testing::Test {
protected:
    // Sends one request at the present board time; returns the frames it brought.
    Frames Request(std::uint8_t msgId, const Bytes& payload = {}) {
        board->Receive(EncodeFrame(kGroup, msgId, payload), now);
        return FrameDecoder().Feed(board->TakeOutput());
    }
    // The one reply of a request, which must have the request's id.
    Bytes Reply(std::uint8_t msgId, const Bytes& payload = {}) {
        const Frames frames = Request(msgId, payload);
        EXPECT_EQ(frames.size(), 1u) << int(msgId);
        if (frames.size() != 1) return {};
        EXPECT_EQ(frames[0].group, kGroup);
        EXPECT_EQ(frames[0].msgId, msgId);
        return frames[0].payload;
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Request(msgId, payload) == Frames{{kGroup, msgId, {}}};
    }
    // Runs every source at its due times for a while; returns the frames they sent.
    Frames Run(Clock::duration span) {
        const Clock::time_point end = now + span;
        for (auto due = board->NextDue(); due && *due <= end; due = board->NextDue()) {
            now = *due;
            board->RunDue(now);
        }
        now = end;
        return FrameDecoder().Feed(board->TakeOutput());
    }
    Frames Run(Clock::duration span, std::uint8_t msgId) {
        Frames frames = Run(span);
        std::erase_if(frames, [msgId](const Frame& f) { return f.msgId != msgId; });
        return frames;
    }
    std::vector<Live> RunLive(Clock::duration span) {
        std::vector<Live> live;
        for (const Frame& frame : Run(span, kLiveData))
            live.push_back(ParseLive(frame));
        return live;
    }

    std::unique_ptr<Board> board = MakeBoard("AHRS", kStart);
    Clock::time_point now = kStart;
};

using SimAhrsLive = AhrsBoardTest;

TEST_F(SimAhrsLive, StreamsAtFiftyHertzFromPowerOnAndAtEachChosenRate) {
    const Frames first = Run(1s, kLiveData);
    EXPECT_EQ(first.size(), 50u);
    EXPECT_TRUE(std::ranges::all_of(first, [](const Frame& f) { return f.payload.size() == 49; }));

    const std::vector<std::size_t> rates{10, 25, 50, 100, 200, 500};
    for (std::uint8_t code = 0; code < rates.size(); ++code) {
        EXPECT_TRUE(Acknowledged(kOutputRate, {code}));
        EXPECT_EQ(Run(1s, kLiveData).size(), rates[code]) << int(code);
    }
    for (const Bytes& bad : {Bytes{6}, Bytes{}, Bytes{1, 0}})
        EXPECT_TRUE(Request(kOutputRate, bad).empty());
    EXPECT_EQ(Run(1s, kLiveData).size(), 500u);
}

TEST_F(SimAhrsLive, SensorsAgreeWithTheAttitude) {
    ASSERT_TRUE(Acknowledged(kOutputRate, {3}));
    const std::vector<Live> frames = RunLive(20s);
    ASSERT_EQ(frames.size(), 2000u);
    for (const Live& live : frames) {
        EXPECT_EQ(live.flags, 0x01);
        // The factory calibration leaves a little error.
        EXPECT_NEAR(Norm(live.acc), 1.0, 0.01);
        EXPECT_NEAR(Norm(live.mag), 480.0, 12);
        // Level and at rest the accelerometer reads (0, 0, -1) g.
        EXPECT_NEAR(std::asin(live.acc[0] / Norm(live.acc)) * kDegPerRad, live.attitude.pitch, 0.5);
        EXPECT_NEAR(std::atan2(-live.acc[1], -live.acc[2]) * kDegPerRad, live.attitude.roll, 0.5);
        EXPECT_NEAR(AngleDiff(CompassHeading(live), live.attitude.yaw), 0.0, 1.5);
        EXPECT_TRUE(live.attitude.yaw >= 0 && live.attitude.yaw < 360) << live.attitude.yaw;
    }
}

TEST_F(SimAhrsLive, GyroRatesIntegrateToTheAttitudeChange) {
    ASSERT_TRUE(Acknowledged(kOutputRate, {5}));
    const std::vector<Live> frames = RunLive(2s);
    ASSERT_EQ(frames.size(), 1000u);
    // Euler angle rates from the body rates, integrated by trapezoids.
    const auto angleRates = [](const Live& live) {
        const double r = Radians(live.attitude.roll);
        const double p = Radians(live.attitude.pitch);
        const Vec3& w = live.gyro;
        const double turn = w[1] * std::sin(r) + w[2] * std::cos(r);
        return Vec3{w[0] + turn * std::tan(p), w[1] * std::cos(r) - w[2] * std::sin(r),
                    turn / std::cos(p)};
    };
    Vec3 angles{frames[0].attitude.roll, frames[0].attitude.pitch, frames[0].attitude.yaw};
    const double dt = 0.002;
    for (std::size_t k = 1; k < frames.size(); ++k) {
        const Vec3 a = angleRates(frames[k - 1]);
        const Vec3 b = angleRates(frames[k]);
        for (std::size_t i = 0; i < 3; ++i)
            angles[i] += (a[i] + b[i]) / 2 * dt;
    }
    const Attitude& last = frames.back().attitude;
    EXPECT_NEAR(angles[0], last.roll, 0.15);
    EXPECT_NEAR(angles[1], last.pitch, 0.15);
    EXPECT_NEAR(AngleDiff(angles[2], last.yaw), 0.0, 0.15);
    EXPECT_GT(std::abs(AngleDiff(last.yaw, frames[0].attitude.yaw)), 10.0);
}

using SimAhrsParameters = AhrsBoardTest;

const Bytes kFactoryNoise{0x5A, 0x48, 0xAF, 0xBC, 0x9A, 0xF2, 0xD7, 0x7A, 0x3E,
                          0xF1, 0x68, 0xE3, 0x88, 0xB5, 0xF8, 0xE4, 0x3E, 0x48,
                          0xAF, 0xBC, 0x9A, 0xF2, 0xD7, 0x7A, 0x3E};

TEST_F(SimAhrsParameters, NoiseWriteKeepsTheBoardsLeadingByteAndDefaultRestores) {
    EXPECT_EQ(Reply(kReadNoise), kFactoryNoise);
    Bytes write;
    PutU8(write, 0, 0x00);
    PutDouble(write, 1, 2e-6);
    PutDouble(write, 9, 3e-4);
    PutDouble(write, 17, 5e-8);
    EXPECT_TRUE(Acknowledged(kWriteNoise, write));
    Bytes expected = write;
    expected[0] = 0x5A;
    EXPECT_EQ(Reply(kReadNoise), expected);

    EXPECT_TRUE(Acknowledged(kDefaultNoise));
    EXPECT_EQ(Reply(kReadNoise), kFactoryNoise);
}

TEST_F(SimAhrsParameters, EachFilterIsReadWrittenAndDefaultedOnItsOwn) {
    Bytes gyro{0x67, 4, 0x00, 0x20, 0x00, 0x20, 0x00, 0x20, 0x00, 0x20};
    gyro.resize(66);
    EXPECT_EQ(Reply(kReadGyroFir), gyro);

    struct Filter {
        std::uint8_t write, read, reset, tag, taps;
    };
    const std::vector<Filter> filters{{kWriteGyroFir, kReadGyroFir, kDefaultGyroFir, 0x67, 4},
                                      {kWriteAccFir, kReadAccFir, kDefaultAccFir, 0x61, 8},
                                      {kWriteMagFir, kReadMagFir, kDefaultMagFir, 0x6D, 16}};
    for (const Filter& filter : filters) {
        const Bytes factory = Reply(filter.read);
        ASSERT_EQ(factory.size(), 66u);
        EXPECT_EQ(factory[0], filter.tag);
        EXPECT_EQ(factory[1], filter.taps);

        Bytes write(66, 0);
        write[1] = 3;
        PutI16(write, 2, 100);
        PutI16(write, 4, -200);
        PutI16(write, 6, 32767);
        EXPECT_TRUE(Acknowledged(filter.write, write));
        write[0] = filter.tag;
        EXPECT_EQ(Reply(filter.read), write);
        for (const Filter& other : filters) {
            if (other.read != filter.read) {
                EXPECT_EQ(Reply(other.read)[1], other.taps);
            }
        }
        write[1] = 33;
        EXPECT_TRUE(Request(filter.write, write).empty());
        EXPECT_TRUE(Acknowledged(filter.reset));
        EXPECT_EQ(Reply(filter.read), factory);
    }
}

TEST_F(SimAhrsParameters, RequestsOfTheWrongLengthOrUnknownIdsGetNoAnswer) {
    for (const auto& [msgId, length] : std::vector<std::pair<std::uint8_t, std::size_t>>{
             {kWriteNoise, 24}, {kWriteGyroFir, 65}, {kReadNoise, 1}, {kGyroSetScale, 26}})
        EXPECT_TRUE(Request(msgId, Bytes(length, 1)).empty()) << int(msgId);
    EXPECT_EQ(Reply(kReadNoise), kFactoryNoise);

    // Every id and length: the board never reads past a request, and ids it does not know, or
    // its own replies, get no answer at all.
    const std::vector<std::uint8_t> silent{0, 1, 18, 24, 25, 26, 31, 42, 47, 58, 63, 72, 255};
    for (int id = 0; id < 256; ++id) {
        for (const std::size_t length : {0, 1, 2, 4, 24, 26, 52, 65, 67, 300}) {
            const Frames frames = Request(static_cast<std::uint8_t>(id), Bytes(length, 0xFF));
            if (std::ranges::find(silent, id) != silent.end()) {
                EXPECT_TRUE(frames.empty()) << id << " " << length;
            }
        }
    }
}

TEST(SimAhrsOptions, EveryBoardOptionIsAcknowledgedAndRemembered) {
    Board board("AHRS", "test", kStart);
    AhrsParameters parameters;
    std::vector<Clock::duration> periods;
    parameters.Install(board, [&](Board&, Clock::duration period) { periods.push_back(period); });
    const auto request = [&](std::uint8_t msgId, const Bytes& payload) {
        board.Receive(EncodeFrame(kGroup, msgId, payload), kStart);
        return FrameDecoder().Feed(board.TakeOutput());
    };

    const std::vector<std::pair<std::uint8_t, std::uint8_t>> options{
        {kMagUsed, 2},      {kOutputProtocol, 2}, {kOutputRate, 6},
        {kImuDirection, 8}, {kRunningMode, 4},    {kDataOutputMode, 4},
        {kGyroRange, 3},    {kAccRange, 3},       {kMagRange, 7}};
    for (const auto& [msgId, count] : options) {
        for (std::uint8_t code = 0; code < count; ++code) {
            EXPECT_EQ(request(msgId, {code}), (Frames{{kGroup, msgId, {}}}));
            EXPECT_EQ(parameters.Option(msgId), code);
        }
        EXPECT_TRUE(request(msgId, {count}).empty());
        EXPECT_TRUE(request(msgId, {}).empty());
        EXPECT_EQ(parameters.Option(msgId), count - 1);
    }
    EXPECT_EQ(periods, (std::vector<Clock::duration>{100ms, 40ms, 20ms, 10ms, 5ms, 2ms}));
}

using SimAhrsReset = AhrsBoardTest;

TEST_F(SimAhrsReset, StopsAProcedureAndKeepsTheSettings) {
    ASSERT_TRUE(Acknowledged(kOutputRate, {3}));
    ASSERT_TRUE(Acknowledged(kGyroBeginCal));
    EXPECT_EQ(RunLive(100ms).back().flags, 0x03);
    EXPECT_TRUE(Acknowledged(kReset));
    const std::vector<Live> after = RunLive(1s);
    EXPECT_EQ(after.size(), 100u);
    EXPECT_EQ(after.back().flags, 0x01);
}

using SimAhrsCalibration = AhrsBoardTest;

TEST_F(SimAhrsCalibration, GyroZeroBiasAndAccelerometerLevelFindTheSensorErrors) {
    EXPECT_TRUE(Acknowledged(kGyroBeginCal));
    for (const Live& live : RunLive(2s)) {
        EXPECT_EQ(live.flags, 0x03);
        EXPECT_EQ(live.attitude.roll, 0);
        ExpectNear(live.gyro, {0, 0, 0}, 0.1);
    }
    const Bytes gyro = Reply(kGyroStopCal);
    ASSERT_EQ(gyro.size(), 25u);
    EXPECT_EQ(gyro[0], 'G');
    ExpectNear(Vec3At(gyro, 1), kGyroBias, 1e-4);
    ExpectNear(Vec3At(gyro, 13), {1, 1, 1}, 0);
    EXPECT_EQ(Reply(kGyroReadCal), gyro);

    EXPECT_TRUE(Acknowledged(kAccBeginCal));
    Run(1s, kLiveData);
    const Bytes acc = Reply(kAccStopCal);
    ASSERT_EQ(acc.size(), 25u);
    EXPECT_EQ(acc[0], 'A');
    // Level, z reads -g through the sensor's scale, which the calibration takes as it stands.
    ExpectNear(
        Vec3At(acc, 1),
        {kAccBias[0], kAccBias[1], kAccBias[2] + kGravity * (kFactoryAcc.scale[2] - kAccScale[2])},
        0.003);
    ExpectNear(Vec3At(acc, 13), kFactoryAcc.scale, 1e-6);
    EXPECT_EQ(Reply(kAccReadCal), acc);
    EXPECT_EQ(RunLive(100ms).back().flags, 0x01);
    // A stop with nothing running reports the stored coefficients.
    EXPECT_EQ(Reply(kAccStopCal), acc);
}

TEST_F(SimAhrsCalibration, GyroScaleWriteTakesOnlyTheScales) {
    Bytes write;
    PutU8(write, 0, 0);
    PutVec3(write, 1, {9, 9, 9});
    PutVec3(write, 13, {1.5, 2, 0.5});
    EXPECT_TRUE(Acknowledged(kGyroSetScale, write));
    const Bytes read = Reply(kGyroReadScale);
    EXPECT_EQ(read[0], 'G');
    ExpectNear(Vec3At(read, 1), kFactoryGyro.offset, 1e-9);
    EXPECT_EQ(Bytes(read.begin() + 13, read.end()),
              (Bytes{0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x3F}));

    PutVec3(write, 13, {0, -1, std::nan("")});
    EXPECT_TRUE(Acknowledged(kGyroSetScale, write));
    EXPECT_EQ(Reply(kGyroReadScale), read);
    EXPECT_TRUE(Acknowledged(kGyroDefault));
    ExpectNear(Vec3At(Reply(kGyroReadScale), 13), {1, 1, 1}, 0);
}

TEST_F(SimAhrsCalibration, MagnetometerCalibrationReportsAndFindsTheHardIron) {
    EXPECT_TRUE(Acknowledged(kMagBeginCal));
    const Frames reports = Run(10s, kMagCalReport);
    EXPECT_EQ(reports.size(), 100u);
    EXPECT_TRUE(
        std::ranges::all_of(reports, [](const Frame& f) { return f.payload.size() == 53; }));
    const Bytes result = Reply(kMagStopCal);
    ASSERT_EQ(result.size(), 53u);
    EXPECT_EQ(result[0], 'M');
    ExpectNear(Vec3At(result, 1), kMagOffset, 1);
    ExpectNear(Vec3At(result, 13), kMagScale, 0.005);
    // The extremes seen lie on the field's sphere through the sensor's errors.
    const Vec3 high = Vec3At(result, 25);
    const Vec3 low = Vec3At(result, 37);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_LT(high[i], kMagOffset[i] + kMagScale[i] * 481);
        EXPECT_GT(low[i], kMagOffset[i] - kMagScale[i] * 481);
        EXPECT_GT(high[i] - low[i], kMagScale[i] * 800);
    }
    EXPECT_EQ(GetFloat(result, 49), 0.0f);
    EXPECT_EQ(Reply(kMagReadCal), result);
    EXPECT_TRUE(Run(1s, kMagCalReport).empty());

    EXPECT_TRUE(Acknowledged(kMagDefault));
    ExpectNear(Vec3At(Reply(kMagReadCal), 1), kFactoryMag.offset, 1e-5);
}

TEST_F(SimAhrsCalibration, NorthTrimTurnsTheHeading) {
    Bytes trim;
    PutFloat(trim, 0, 12.5f);
    EXPECT_TRUE(Acknowledged(kNorthTrimSet, trim));
    EXPECT_EQ(GetFloat(Reply(kNorthTrimRead), 49), 12.5f);
    for (const Live& live : RunLive(1s))
        EXPECT_NEAR(AngleDiff(live.attitude.yaw, CompassHeading(live)), 12.5, 1.5);
    EXPECT_TRUE(Acknowledged(kNorthTrimDefault));
    EXPECT_EQ(GetFloat(Reply(kNorthTrimRead), 49), 0.0f);
}

TEST_F(SimAhrsCalibration, ThreeAxisCompassPlaysItsStepsAndCompletes) {
    ASSERT_TRUE(Acknowledged(kMag3AxisStart));
    Frames frames = Run(9s);
    std::erase_if(frames, [](const Frame& f) { return f.msgId == kLiveData; });
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames.back(), (Frame{kGroup, kMag3AxisComplete, {}}));
    frames.pop_back();
    std::vector<std::uint8_t> steps;
    std::uint8_t progress = 0;
    for (const Frame& frame : frames) {
        ASSERT_EQ(frame.msgId, kMag3AxisReport);
        ASSERT_EQ(frame.payload.size(), 51u);
        if (steps.empty() || steps.back() != frame.payload[49]) steps.push_back(frame.payload[49]);
        EXPECT_GE(frame.payload[50], progress);
        progress = frame.payload[50];
    }
    EXPECT_EQ(steps, (std::vector<std::uint8_t>{0x10, 0x11, 0x20, 0x22}));
    EXPECT_EQ(progress, 100);
    const Bytes result = Reply(kMagReadCal);
    ExpectNear(Vec3At(result, 1), kMagOffset, 1.5);
    ExpectNear(Vec3At(result, 13), kMagScale, 0.01);
    EXPECT_TRUE(Run(2s, kMag3AxisReport).empty());

    // A cancelled procedure stops reporting and never completes.
    ASSERT_TRUE(Acknowledged(kMag3AxisStart));
    EXPECT_FALSE(Run(2s, kMag3AxisReport).empty());
    EXPECT_TRUE(Acknowledged(kMag3AxisCancel));
    frames = Run(10s);
    EXPECT_TRUE(std::ranges::all_of(frames, [](const Frame& f) { return f.msgId == kLiveData; }));
    const Bytes kept = Reply(kMagReadCal);
    EXPECT_EQ(Bytes(kept.begin(), kept.begin() + 25), Bytes(result.begin(), result.begin() + 25));
}

using SimAhrsSixFace = AhrsBoardTest;

TEST_F(SimAhrsSixFace, AccelerometerFacesGiveTheSensorErrors) {
    const Bytes factory = Reply(kReadAccCof);
    EXPECT_EQ(Reply(kAccFaceCal), factory);  // no faces yet: nothing to compute

    const Bytes first = Reply(kReadAccFace, {0});
    ASSERT_EQ(first.size(), 73u);
    EXPECT_EQ(first[0], 0x01);
    // +x down: x reads the reaction to gravity, -g, through the sensor's scale and bias.
    ExpectNear(Vec3At(first, 1), {-kGravity * kAccScale[0] + kAccBias[0], kAccBias[1], kAccBias[2]},
               0.02);
    ExpectNear(Vec3At(first, 13), {0, 0, 0}, 0);
    EXPECT_TRUE(Request(kReadAccFace, {6}).empty());
    EXPECT_TRUE(Request(kReadAccFace, {0, 1}).empty());

    Bytes faces;
    for (std::uint8_t face = 0; face < 6; ++face)
        faces = Reply(kReadAccFace, {face});
    EXPECT_EQ(faces[0], 0x3F);
    const Bytes result = Reply(kAccFaceCal);
    ASSERT_EQ(result.size(), 25u);
    EXPECT_EQ(result[0], 'A');
    ExpectNear(Vec3At(result, 1), kAccBias, 0.015);
    ExpectNear(Vec3At(result, 13), kAccScale, 0.002);
    EXPECT_EQ(Reply(kAccReadCal), result);

    EXPECT_TRUE(Acknowledged(kDefaultAccCof));
    EXPECT_EQ(Reply(kReadAccCof), factory);
}

TEST_F(SimAhrsSixFace, MagnetometerFacesGiveTheSensorErrors) {
    Bytes faces;
    for (std::uint8_t face = 0; face < 6; ++face)
        faces = Reply(kReadMagFace, {face});
    ASSERT_EQ(faces.size(), 73u);
    EXPECT_EQ(faces[0], 0x3F);
    // +x north on a level board: x sees the horizontal field, z the vertical one.
    ExpectNear(Vec3At(faces, 1),
               {kEarthField[0] * kMagScale[0] + kMagOffset[0], kMagOffset[1],
                kEarthField[2] * kMagScale[2] + kMagOffset[2]},
               1);
    const Bytes result = Reply(kMagFaceCal);
    ASSERT_EQ(result.size(), 25u);
    EXPECT_EQ(result[0], 'M');
    ExpectNear(Vec3At(result, 1), kMagOffset, 1);
    ExpectNear(Vec3At(result, 13), kMagScale, 0.005);
    EXPECT_EQ(Reply(kReadMagFaceCof), result);

    // After a restart the faces are read afresh.
    EXPECT_TRUE(Acknowledged(kReset));
    EXPECT_EQ(Reply(kReadMagFace, {1})[0], 0x02);
    EXPECT_TRUE(Acknowledged(kDefaultMagFaceCof));
    ExpectNear(Vec3At(Reply(kReadMagFaceCof), 13), kFactoryMag.scale, 1e-6);
}

}  // namespace
}  // namespace zephran::sim
