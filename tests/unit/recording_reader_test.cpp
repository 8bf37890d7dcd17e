#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "recording/csv_export.h"
#include "recording/recording_columns.h"
#include "recording/recording_reader.h"
#include "recording/replay_link.h"
#include "support/fake_texts.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A record whose navigation roll is n and whose gx is n rad/s.
LiveRecordBytes RecordNumber(int n) {
    RecordSources sources;
    const float gx = static_cast<float>(n);
    std::memcpy(sources.sensorsRaw.data() + 1, &gx, 4);
    sources.navigation.roll = static_cast<float>(n);
    sources.navigation.lat = 48.0 + n;
    return BuildLiveRecord(sources);
}

void Append(Bytes& bytes, const LiveRecordBytes& record) {
    bytes.insert(bytes.end(), record.begin(), record.end());
}

float Roll(const LiveRecordBytes& record) {
    float roll;
    std::memcpy(&roll, record.data() + live_record::kNavigation + 36, 4);
    return roll;
}

TEST(RecordingReader, SoundFileReadsWhole) {
    Bytes bytes;
    for (int n = 0; n < 3; ++n)
        Append(bytes, RecordNumber(n));
    const Recording recording = ParseRecording(bytes);
    ASSERT_EQ(recording.records.size(), 3u);
    EXPECT_EQ(Roll(recording.records[2]), 2.0f);
    EXPECT_FALSE(recording.damage.Any());
    EXPECT_EQ(DescribeDamage(recording.damage, NoTexts{}), "");
}

TEST(RecordingReader, DamageIsSkippedAndCounted) {
    Bytes bytes;
    Append(bytes, RecordNumber(0));
    LiveRecordBytes bad = RecordNumber(1);
    bad[30] ^= 0x10;  // its sums no longer match
    Append(bytes, bad);
    bytes.insert(bytes.end(), {'T', 'M', 0x55, 'x'});  // garbage between records
    Append(bytes, RecordNumber(2));
    const LiveRecordBytes last = RecordNumber(3);
    bytes.insert(bytes.end(), last.begin(), last.begin() + 100);  // cut short

    const Recording recording = ParseRecording(bytes);
    ASSERT_EQ(recording.records.size(), 2u);
    EXPECT_EQ(Roll(recording.records[0]), 0.0f);
    EXPECT_EQ(Roll(recording.records[1]), 2.0f);
    EXPECT_EQ(recording.damage.badRecords, 1u);
    EXPECT_EQ(recording.damage.skippedBytes, 242u + 4u + 100u);
    EXPECT_TRUE(recording.damage.truncatedTail);
    EXPECT_EQ(DescribeDamage(recording.damage, NoTexts{}),
              "Damaged recording: skipped 346 bytes, 1 records with bad sums, a truncated last "
              "record.");
    testing::FakeTexts texts;
    texts.Set("Recordings", "Damaged", "<%1>");
    texts.Set("Recordings", "Skipped Bytes", "-%1");
    texts.Set("Recordings", "Bad Sums", " #%1");
    EXPECT_EQ(DescribeDamage(recording.damage, texts), "<-346 #1, a truncated last record>");
}

TEST(RecordingReader, MissingOrFolderIsNotARecording) {
    testing::TempDir dir;
    Recording recording;
    EXPECT_FALSE(ReadRecording(dir.Path(), recording));
    EXPECT_FALSE(ReadRecording(dir.File("none.dat"), recording));
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::stringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, ',');)
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

TEST(CsvExport, OneRowPerRecordWithNamedColumnsAndUnits) {
    testing::TempDir dir;
    Bytes bytes;
    for (int n = 0; n < 4; ++n)
        Append(bytes, RecordNumber(n));
    bytes.push_back(0x99);
    const std::string file =
        dir.Write("2027-01-15-08-00-00.dat", std::string(bytes.begin(), bytes.end()));
    std::string result;
    ASSERT_EQ(ExportRecordingCsv(file, "", result, NoTexts{}), 0) << result;
    EXPECT_EQ(result, "4 records written to " + dir.File("2027-01-15-08-00-00.csv") +
                          "\nDamaged recording: skipped 1 bytes.\nNo time file: times are "
                          "estimated at 50 records a second.");

    const auto rows = ReadCsv(dir.File("2027-01-15-08-00-00.csv"));
    ASSERT_EQ(rows.size(), 5u);
    const auto& header = rows[0];
    ASSERT_EQ(header.size(), RecordColumns().size() + 2);
    EXPECT_EQ(header[0], "time (s)");
    EXPECT_EQ(header[1], "record");
    const auto column = [&header](const std::string& name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) -
                                        header.begin());
    };
    ASSERT_LT(column("roll (deg)"), header.size());
    ASSERT_LT(column("gx (rad/s)"), header.size());
    ASSERT_LT(column("lat (deg)"), header.size());
    ASSERT_LT(column("gps pdop (1)"), header.size());
    for (int n = 0; n < 4; ++n) {
        const auto& row = rows[static_cast<std::size_t>(n) + 1];
        ASSERT_EQ(row.size(), header.size());
        // Without a time file, the usual 50 records a second.
        EXPECT_EQ(std::stod(row[0]), 0.02 * n);
        EXPECT_EQ(row[1], std::to_string(n));
        EXPECT_EQ(std::stod(row[column("roll (deg)")]), n);
        EXPECT_EQ(std::stod(row[column("gx (rad/s)")]), n);
        EXPECT_EQ(std::stod(row[column("lat (deg)")]), 48.0 + n);
    }

    EXPECT_EQ(ExportRecordingCsv(dir.File("none.dat"), "", result, NoTexts{}), 1);
    EXPECT_EQ(result, "Cannot read the recording " + dir.File("none.dat"));
    testing::FakeTexts texts;
    texts.Set("Recordings", "Cannot Write Export", "%1?");
    EXPECT_EQ(ExportRecordingCsv(file, dir.File("no/such/folder.csv"), result, texts), 1);
    EXPECT_EQ(result, dir.File("no/such/folder.csv") + "?");
    texts.Set("Recordings", "CSV Written", "%2 <- %1");
    ASSERT_EQ(ExportRecordingCsv(file, "", result, texts), 0);
    EXPECT_EQ(result.substr(0, result.find('\n')), dir.File("2027-01-15-08-00-00.csv") + " <- 4");
}

TEST(ReplayLink, RecordsBecomeAhrsLiveFramesAtTheChosenSpeed) {
    Bytes bytes;
    for (int n = 0; n < 200; ++n)
        Append(bytes, RecordNumber(n));
    VirtualClock clock;
    ReplayLink replay{clock};
    replay.Load("rec.dat", ParseRecording(bytes));
    std::vector<Bytes> frames;
    const auto sink = [&frames](std::span<const std::uint8_t> frame) {
        frames.emplace_back(frame.begin(), frame.end());
    };
    replay.Tick(1000, sink);
    EXPECT_TRUE(frames.empty());  // paused

    replay.Play(0);
    replay.Tick(100, sink);  // 1×: 50 records a second
    EXPECT_EQ(frames.size(), 5u);
    replay.SetSpeed(4, 100);
    replay.Tick(200, sink);
    EXPECT_EQ(frames.size(), 25u);
    replay.Pause();
    replay.Tick(10000, sink);
    EXPECT_EQ(replay.Position(), 25u);
    replay.SetSpeed(ReplayLink::kMaxSpeed, 10000);
    replay.Play(10000);
    for (int tick = 0; tick < 10; ++tick)
        replay.Tick(10000, sink);
    EXPECT_EQ(frames.size(), 200u);
    EXPECT_FALSE(replay.Playing());

    // Frame 7: 'T' 'M' 15 1, 49 bytes, roll 7 degrees and gx 7 rad/s in degrees per second.
    const Bytes& frame = frames[7];
    ASSERT_EQ(frame.size(), 57u);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 6), (Bytes{'T', 'M', 15, 1, 49, 0}));
    float roll, gx;
    std::memcpy(&roll, frame.data() + 6 + 1, 4);
    std::memcpy(&gx, frame.data() + 6 + 13, 4);
    EXPECT_EQ(roll, 7.0f);
    EXPECT_FLOAT_EQ(gx, 7.0f * 57.29577951308232f);
}

}  // namespace
}  // namespace zephran
