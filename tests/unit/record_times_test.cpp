// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "platform/file_system.h"
#include "recording/csv_export.h"
#include "recording/gps_week_time.h"
#include "recording/record_times.h"
#include "recording/recording_reader.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 2027-01-15 08:00:00 UTC, 460,818 s into GPS week 2453.
constexpr std::time_t kStart = 1'800'000'000;
constexpr std::int32_t kStartWeekMs = 460'818'000;

// A record whose roll is n, with a GPS block holding weekMs and fix.
LiveRecordBytes GpsRecord(int n, std::int32_t weekMs, std::uint8_t fix = 3) {
    RecordSources sources;
    sources.navigation.roll = static_cast<float>(n);
    std::memcpy(sources.gpsRaw.data() + 1, &weekMs, 4);
    sources.gpsRaw[25] = fix;
    return BuildLiveRecord(sources);
}

Bytes Entries(std::initializer_list<std::uint32_t> ms) {
    Bytes bytes;
    for (const std::uint32_t m : ms) {
        const TimeEntryBytes entry = EncodeTimeEntry(m);
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    }
    return bytes;
}

std::string NameAt(std::time_t start) {
    const std::tm local = LocalTime(start);
    char name[64];
    std::strftime(name, sizeof name, "%Y-%m-%d-%H-%M-%S.dat", &local);
    return name;
}

TEST(TimeFile, EntriesAreLittleEndianMillisecondsAndACutShortOneIsLeftOut) {
    EXPECT_EQ(Entries({0x01020304}), (Bytes{4, 3, 2, 1}));
    Bytes bytes = Entries({0, 20, 4'000'000'000u});
    EXPECT_EQ(DecodeTimeEntries(bytes), (std::vector<std::uint32_t>{0, 20, 4'000'000'000u}));
    bytes.pop_back();
    EXPECT_EQ(DecodeTimeEntries(bytes), (std::vector<std::uint32_t>{0, 20}));
    EXPECT_EQ(TimesPathFor("/log/2027-01-15-08-00-00.dat"), "/log/2027-01-15-08-00-00.tim");
    EXPECT_EQ(TimesPathFor("flight"), "flight.tim");
}

TEST(TimeFile, StartComesFromTheLocalTimeInTheName) {
    EXPECT_EQ(RecordingStartFromName("/log/" + NameAt(kStart)), kStart);
    std::string second = NameAt(kStart + 61);
    second.insert(second.size() - 4, "-2");
    EXPECT_EQ(RecordingStartFromName(second), kStart + 61);
    EXPECT_EQ(RecordingStartFromName("flight.dat"), std::nullopt);
    EXPECT_EQ(RecordingStartFromName("2027-01-15.dat"), std::nullopt);
}

TEST(RecordTimes, TimeFileGivesEachRecordItsTimeAndTheRestCountOnAtTheUsualRate) {
    const std::vector<LiveRecordBytes> records(5, GpsRecord(0, 0, 0));
    // The third record was damaged and skipped: the others keep their places in the file.
    const std::vector<std::uint32_t> places{0, 1, 3, 4, 5};
    // A crash left the time file two entries behind the records.
    const std::vector<std::uint32_t> entries{0, 30, 55, 90};
    const RecordTimes times = TimeRecords(records, places, entries, kStart);
    EXPECT_EQ(times.seconds, (std::vector<double>{0, 0.03, 0.09, 0.11, 0.13}));
    EXPECT_EQ(times.timedRecords, 3u);
    EXPECT_FALSE(times.AllTimed());
    ASSERT_TRUE(times.utcStart);
    EXPECT_EQ(*times.utcStart, kStart);
    EXPECT_FALSE(times.fromGps);
    EXPECT_EQ(DescribeTimes(times, NoTexts{}),
              "2 records have no time: estimated at 50 records a second.");
}

TEST(RecordTimes, WithoutTimeFileOrNameTimesComeFromThePlaceAlone) {
    const std::vector<LiveRecordBytes> records(3, GpsRecord(0, 0, 0));
    const RecordTimes times = TimeRecords(records, {}, {}, std::nullopt);
    EXPECT_EQ(times.seconds, (std::vector<double>{0, 0.02, 0.04}));
    EXPECT_EQ(times.timedRecords, 0u);
    EXPECT_FALSE(times.utcStart);
    EXPECT_EQ(times.Utc(1), std::nullopt);
    EXPECT_EQ(DescribeTimes(times, NoTexts{}),
              "No time file: times are estimated at 50 records a second.");
}

TEST(GpsWeekTime, TheWeekNearestTheClockIsTaken) {
    EXPECT_DOUBLE_EQ(UtcOfWeekTime(kStartWeekMs, kStart), kStart);
    // A clock two days off still lands in the right week.
    EXPECT_DOUBLE_EQ(UtcOfWeekTime(kStartWeekMs + 1500, kStart - 2 * 86400), kStart + 1.5);
    // Just after the week turned, with a clock still in the old week.
    EXPECT_DOUBLE_EQ(UtcOfWeekTime(1000, kStart + (604'800 - 460'818) - 5),
                     kStart + 604'800.0 - 460'818 + 1);
}

// The PC's clock runs 2.5 s behind the GPS; the name and the time file carry its times, the GPS
// solutions (one in five records, 20 ms late) correct them.
TEST(RecordTimes, GpsTimeOfWeekCorrectsTheStart) {
    std::vector<LiveRecordBytes> records;
    std::vector<std::uint32_t> entries;
    for (int n = 0; n < 50; ++n) {
        const std::int32_t solution = kStartWeekMs + 2500 + (n / 5) * 100;
        records.push_back(GpsRecord(n, solution));
        entries.push_back(static_cast<std::uint32_t>((n / 5) * 100 + 20 + (n % 5) * 20));
    }
    // Before the first fix the GPS block is empty.
    records[0] = records[1] = GpsRecord(0, 0, 0);
    const RecordTimes times = TimeRecords(records, {}, entries, kStart);
    ASSERT_TRUE(times.utcStart);
    EXPECT_TRUE(times.fromGps);
    EXPECT_NEAR(*times.utcStart, kStart + 2.5 - 0.02, 1e-6);
    EXPECT_NEAR(*times.Utc(10), kStart + 2.5 + 0.2, 1e-6);
}

// A GPS/INS recording on disk with its time file: the reader and the CSV take the times.
TEST(RecordTimes, ReaderAndCsvTakeTheTimeFile) {
    testing::TempDir dir;
    Bytes bytes;
    for (int n = 0; n < 3; ++n) {
        const LiveRecordBytes record = GpsRecord(n, 0, 0);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    const std::string file = dir.Write(NameAt(kStart), std::string(bytes.begin(), bytes.end()));
    const Bytes entries = Entries({5, 1025, 2047});
    dir.Write(NameAt(kStart).substr(0, 19) + ".tim", std::string(entries.begin(), entries.end()));
    Recording recording;
    ASSERT_TRUE(ReadRecording(file, recording));
    EXPECT_EQ(recording.times.seconds, (std::vector<double>{0.005, 1.025, 2.047}));
    EXPECT_TRUE(recording.times.AllTimed());
    EXPECT_EQ(recording.times.utcStart, static_cast<double>(kStart));

    std::string result;
    ASSERT_EQ(ExportRecordingCsv(file, dir.File("out.csv"), result, NoTexts{}), 0);
    EXPECT_EQ(result, "3 records written to " + dir.File("out.csv"));
    const std::string csv = dir.Read("out.csv");
    EXPECT_TRUE(csv.starts_with("time (s),record,health,")) << csv;
    EXPECT_NE(csv.find("\n0.005,0,"), std::string::npos);
    EXPECT_NE(csv.find("\n2.047,2,"), std::string::npos);
}

}  // namespace
}  // namespace zephran
