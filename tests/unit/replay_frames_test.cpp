// The frames a recording plays back as, from the record's bytes at their layout offsets.
#include <gtest/gtest.h>

#include <cmath>

#include "link/messages.h"
#include "recording/replay_frames.h"
#include "records/gpsins_texts.h"
#include "support/bytes.h"
#include "support/fake_link.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::FloatAt;

// A record as a GPS/INS navigation output leaves it: the attitude is the quaternion's.
RecordSources NavigationSources(float yawRadians) {
    RecordSources sources;
    for (std::size_t i = 0; i < sources.sensorsRaw.size(); ++i)
        sources.sensorsRaw[i] = static_cast<std::uint8_t>(0x40 + i);
    for (std::size_t i = 0; i < sources.gpsRaw.size(); ++i)
        sources.gpsRaw[i] = static_cast<std::uint8_t>(0x80 + i);
    NavigationSample& nav = sources.navigation;
    nav.lon = 121.5;
    nav.lat = 31.25;
    nav.hmsl = 130.5f;
    nav.vccN = 1.5f;
    nav.vccE = -2.5f;
    nav.vccD = 0.25f;
    const std::array<float, 4> q{std::cos(yawRadians / 2), 0, 0, std::sin(yawRadians / 2)};
    const Angles angles = QuaternionToAngles(q);
    nav.roll = angles.roll;
    nav.pitch = angles.pitch;
    nav.yaw = angles.yaw;
    for (std::size_t i = 0; i < 4; ++i)
        nav.q[i] = q[i];
    return sources;
}

// A record as AHRS live data leaves it: an attitude and no quaternion.
RecordSources AhrsSources() {
    RecordSources sources;
    sources.navigation.roll = 10;
    sources.navigation.pitch = -5;
    sources.navigation.yaw = 45;
    return sources;
}

TEST(ReplayFrames, FramesCarryTheirMessageLengthAndCrc) {
    const Bytes payload{1, 2, 3, 0xFE};
    EXPECT_EQ(EncodeFrame(msg::DL_GPSINS_NAVOUTPUT, payload),
              testing::FakeLink::Frame(16, 3, payload));
    EXPECT_EQ(EncodeFrame(msg::DL_ID_AHRS_DATE_COME, Bytes{}), testing::FakeLink::Frame(15, 1, {}));
}

TEST(ReplayFrames, NavigationRecordsAreToldFromAhrsRecords) {
    EXPECT_TRUE(IsNavigationRecord(BuildLiveRecord(NavigationSources(0.7f))));
    EXPECT_TRUE(IsNavigationRecord(BuildLiveRecord(NavigationSources(3.1f))));
    EXPECT_FALSE(IsNavigationRecord(BuildLiveRecord(AhrsSources())));
    EXPECT_FALSE(IsNavigationRecord(BuildLiveRecord(RecordSources{})));
    // AHRS live data after a navigation output: its attitude with the old quaternion.
    RecordSources stale = NavigationSources(0.7f);
    stale.navigation.roll += 3;
    EXPECT_FALSE(IsNavigationRecord(BuildLiveRecord(stale)));
}

TEST(ReplayFrames, GpsInsRepliesTakeTheirBytesFromTheRecord) {
    const LiveRecordBytes record = BuildLiveRecord(NavigationSources(0.7f));

    const auto sensors = SensorsRawPayload(record);
    EXPECT_EQ(sensors[0], 0x40);  // the sensor byte at 175
    EXPECT_EQ(sensors[1], 0x41);
    EXPECT_EQ(sensors[40], 0x68);

    const auto gps = GpsRawPayload(record);
    EXPECT_EQ(gps[0], 0x80);
    EXPECT_EQ(gps[53], 0xB5);

    const auto navArray = NavOutputPayload(record);
    const Bytes nav(navArray.begin(), navArray.end());
    EXPECT_EQ(nav[0], 0);  // flags: not recorded
    EXPECT_DOUBLE_EQ(testing::DoubleAt(nav, 1), 121.5);
    EXPECT_DOUBLE_EQ(testing::DoubleAt(nav, 9), 31.25);
    EXPECT_FLOAT_EQ(FloatAt(nav, 17), 130.5f);
    EXPECT_FLOAT_EQ(FloatAt(nav, 21), 1.5f);
    EXPECT_FLOAT_EQ(FloatAt(nav, 25), -2.5f);
    EXPECT_FLOAT_EQ(FloatAt(nav, 29), 0.25f);
    EXPECT_FLOAT_EQ(FloatAt(nav, 33), std::cos(0.35f));
    EXPECT_FLOAT_EQ(FloatAt(nav, 45), std::sin(0.35f));
    // Rates and forces: SensorsRaw bytes 1 to 24.
    EXPECT_EQ(Bytes(nav.begin() + 49, nav.begin() + 73),
              Bytes(sensors.begin() + 1, sensors.begin() + 25));
    EXPECT_EQ(nav[73], gps[29]);  // satellites
    EXPECT_EQ(Bytes(nav.begin() + 74, nav.end()), Bytes(4, 0));
}

// The GPS solution goes out with the first record, with every record that flags it new and
// with every record whose solution changed; otherwise only raw sensors and navigation output.
TEST(ReplayFrames, GpsSolutionGoesOutWhenItIsNew) {
    RecordSources sources = NavigationSources(0.2f);
    sources.gpsRaw[0] = 0;
    std::vector<std::uint8_t> ids;
    RecordFrames replay;
    const auto emit = [&] {
        replay.Emit(BuildLiveRecord(sources), [&](auto frame) {
            EXPECT_EQ(frame[2], 16);
            ids.push_back(frame[3]);
        });
    };
    emit();
    emit();
    sources.gpsRaw[0] = 1;
    sources.gpsRaw[1] = 0x11;  // a new week time
    emit();
    sources.gpsRaw[0] = 0;
    emit();
    sources.gpsRaw[2] = 0x22;  // changed without the flag
    emit();
    replay.Restart();
    emit();
    EXPECT_EQ(ids, (std::vector<std::uint8_t>{2, 1, 3, 1, 3, 2, 1, 3, 1, 3, 2, 1, 3, 2, 1, 3}));
}

}  // namespace
}  // namespace zephran
