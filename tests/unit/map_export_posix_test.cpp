// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "recording/map_export.h"
#include "recording/record_times.h"
#include "recording/recording_export.h"
#include "support/gpsbabel.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

// 2027-01-15 08:00:00 UTC, 460,818 s into its GPS week.
constexpr std::time_t kStart = 1'800'000'000;
constexpr std::int32_t kStartWeekMs = 460'818'000;

// A record of a board flying north-east at ms from the start; without a fix before 40 ms.
LiveRecordBytes Flying(int n, std::uint32_t ms) {
    RecordSources sources;
    sources.navigation.lat = 31.2304 + 1e-5 * n + 1.23e-9;
    sources.navigation.lon = 121.4737 + 2e-5 * n;
    sources.navigation.hmsl = 12.0f + 0.25f * static_cast<float>(n);
    const std::int32_t weekMs = kStartWeekMs + static_cast<std::int32_t>(ms);
    std::memcpy(sources.gpsRaw.data() + 1, &weekMs, 4);
    sources.gpsRaw[25] = ms >= 40 ? 3 : 0;
    return BuildLiveRecord(sources);
}

class MapExport : public ::testing::Test {
protected:
    // Writes a recording of count records 20 ms apart, with its time file, named for kStart.
    std::string WriteRecording(int count, bool withPositions = true) {
        std::tm local{};
        localtime_r(&kStart, &local);
        char stem[64];
        std::strftime(stem, sizeof stem, "%Y-%m-%d-%H-%M-%S", &local);
        std::string records, times;
        for (int n = 0; n < count; ++n) {
            const auto ms = static_cast<std::uint32_t>(20 * n);
            LiveRecordBytes record = Flying(n, ms);
            if (!withPositions) record = BuildLiveRecord(RecordSources{});
            records.append(record.begin(), record.end());
            const TimeEntryBytes entry = EncodeTimeEntry(ms);
            times.append(entry.begin(), entry.end());
        }
        dir.Write(std::string(stem) + ".tim", times);
        return dir.Write(std::string(stem) + ".dat", records);
    }
    testing::TempDir dir;
};

// GPSBabel reads back one point per record with a fix, at the recorded position, height and time.
TEST_F(MapExport, GpxHoldsEveryFixWithItsPositionHeightAndTime) {
    const std::string recording = WriteRecording(10);
    std::string result;
    ASSERT_EQ(ExportRecording(recording, dir.File("track.gpx"), result, NoTexts{}), 0) << result;
    EXPECT_EQ(result, "8 track points written to " + dir.File("track.gpx"));

    const auto read = testing::ReadWithGpsbabel("gpx", dir.File("track.gpx"));
    ASSERT_EQ(read.status, 0);
    ASSERT_EQ(read.track.size(), 8u);
    for (std::size_t p = 0; p < read.track.size(); ++p) {
        SCOPED_TRACE(p);
        const int n = static_cast<int>(p) + 2;
        EXPECT_NEAR(read.track[p].lat, 31.2304 + 1e-5 * n + 1.23e-9, 1e-9);
        EXPECT_NEAR(read.track[p].lon, 121.4737 + 2e-5 * n, 1e-9);
        ASSERT_TRUE(read.track[p].ele);
        EXPECT_NEAR(*read.track[p].ele, 12.0 + 0.25 * n, 1e-3);
        EXPECT_EQ(read.track[p].time,
                  "2027-01-15T08:00:00." + std::to_string(1000 + 20 * n).substr(1) + "Z");
    }
}

TEST_F(MapExport, KmlHoldsTheTrackWithStartAndEndPlacemarks) {
    const std::string recording = WriteRecording(10);
    std::string result;
    ASSERT_EQ(ExportRecording(recording, dir.File("track.KML"), result, NoTexts{}), 0) << result;
    const std::string kml = dir.Read("track.KML");
    EXPECT_NE(kml.find("<altitudeMode>absolute</altitudeMode>"), std::string::npos);

    const auto read = testing::ReadWithGpsbabel("kml", dir.File("track.KML"));
    ASSERT_EQ(read.status, 0);
    ASSERT_EQ(read.track.size(), 8u);
    for (std::size_t p = 0; p < read.track.size(); ++p) {
        const int n = static_cast<int>(p) + 2;
        EXPECT_NEAR(read.track[p].lat, 31.2304 + 1e-5 * n + 1.23e-9, 1e-9) << p;
        EXPECT_NEAR(read.track[p].lon, 121.4737 + 2e-5 * n, 1e-9) << p;
        EXPECT_NEAR(read.track[p].ele.value_or(0), 12.0 + 0.25 * n, 1e-3) << p;
    }
    ASSERT_EQ(read.waypoints.size(), 2u);
    EXPECT_NEAR(read.waypoints[0].lat, read.track.front().lat, 1e-9);
    EXPECT_EQ(read.waypoints[0].time, "2027-01-15T08:00:00.040Z");
    EXPECT_NEAR(read.waypoints[1].lon, read.track.back().lon, 1e-9);
    EXPECT_EQ(read.waypoints[1].time, "2027-01-15T08:00:00.180Z");
}

// An AHRS recording has no track: GPX and KML are refused and nothing is written; its CSV is not.
TEST_F(MapExport, RecordingWithoutPositionsRefusesTracks) {
    const std::string recording = WriteRecording(5, false);
    std::string result;
    for (const char* out : {"track.gpx", "track.kml"}) {
        EXPECT_EQ(ExportRecording(recording, dir.File(out), result, NoTexts{}), 1);
        EXPECT_EQ(result,
                  "The recording holds no position (no record has a GPS fix): there is no track "
                  "for GPX or KML.");
        EXPECT_FALSE(std::filesystem::exists(dir.File(out)));
    }
    EXPECT_EQ(ExportRecording(recording, dir.File("all.csv"), result, NoTexts{}), 0);
    EXPECT_EQ(ExportRecording(recording, dir.File("track.txt"), result, NoTexts{}), 1);
    EXPECT_EQ(result, "Cannot export to " + dir.File("track.txt") +
                          ": the name must end in .csv, .gpx or .kml.");
    EXPECT_EQ(ExportPathFor("/log/a.dat", ExportFormat::Kml), "/log/a.kml");
}

TEST(IsoUtc, MillisecondsRoundIntoTheNextSecond) {
    EXPECT_EQ(IsoUtc(kStart + 0.0206), "2027-01-15T08:00:00.021Z");
    EXPECT_EQ(IsoUtc(kStart + 59.9996), "2027-01-15T08:01:00.000Z");
}

}  // namespace
}  // namespace zephran
