// Recording the simulated AHRS and GPS/INS boards through the headless front end, then playing
// the recordings back.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

#include "headless_board_test.h"
#include "pages/autopilot/dlg_gpsins_view.h"
#include "recording/live_record.h"
#include "recording/map_export.h"
#include "recording/record_times.h"
#include "recording/recording_reader.h"
#include "sim/gpsins_navigation.h"
#include "support/gpsbabel.h"

namespace zephran::test {
namespace {

using View = CDlgGPSINSView;

constexpr int kKind = 1502, kStartStop = 1503, kOpenRecording = 1508, kPlayPause = 1510,
              kSpeed = 1511, kPosition = 1512, kExportGpx = 1514, kLiveText = 1128;
constexpr int kKindGpsIns = 3, kSpeed4x = 2;

// The recordings in dir, without their time files.
std::vector<std::string> LogFiles(const std::string& dir) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        if (entry.path().extension() == ".dat") files.push_back(entry.path().string());
    }
    return files;
}

using Record = std::vector<std::uint8_t>;

// The records of a file, which must hold whole records only.
std::vector<Record> ReadRecords(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size() % 242, 0u) << file;
    std::vector<Record> records;
    for (std::size_t at = 0; at + 242 <= bytes.size(); at += 242)
        records.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + 242));
    return records;
}

template <typename T>
T At(const Record& record, std::size_t offset) {
    T value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

bool ZeroBetween(const Record& record, std::size_t begin, std::size_t end) {
    return std::all_of(record.begin() + static_cast<std::ptrdiff_t>(begin),
                       record.begin() + static_cast<std::ptrdiff_t>(end),
                       [](std::uint8_t b) { return b == 0; });
}

// One GPS/INS record checked byte by byte against the layout: the header, the two running sums
// over bytes 2 to 239, the reserved and spare bytes, the sensor byte and a navigation sample
// that belongs to the same moment as the sensor block.
void ExpectGpsInsRecord(const Record& r) {
    EXPECT_EQ(Record(r.begin(), r.begin() + 11),
              (Record{0x54, 0x4D, 0x0A, 0, 0, 0, 0, 0x3F, 0x00, 0xE5, 0x00}));
    std::uint8_t a = 0, b = 0;
    for (std::size_t i = 2; i < 240; ++i) {
        a = static_cast<std::uint8_t>(a + r[i]);
        b = static_cast<std::uint8_t>(b + a);
    }
    EXPECT_EQ(r[240], a);
    EXPECT_EQ(r[241], b);
    // Spare bytes of block 0, blocks 1, 3 and 4, spare bytes of block 2.
    EXPECT_TRUE(ZeroBetween(r, 51, 103));
    EXPECT_TRUE(ZeroBetween(r, 157, 175));
    // The board reports its sensors healthy (15) and a 3-D fix.
    EXPECT_EQ(r[175], 0x0F);
    EXPECT_EQ(r[103 + 25], 3);
    // Navigation sample bytes 1 to 64: Lon, Lat, Hmsl, velocities, 4 unwritten bytes, roll,
    // pitch, yaw, quaternion.
    EXPECT_NEAR(At<double>(r, 176), sim::kHomeLon, 0.01);
    EXPECT_NEAR(At<double>(r, 184), sim::kHomeLat, 0.01);
    // Hmsl of the navigation output and of the raw sensors sent with it.
    EXPECT_EQ(At<float>(r, 192), At<float>(r, 11 + 36));
    const float north = At<float>(r, 196), east = At<float>(r, 200);
    EXPECT_NEAR(std::hypot(north, east), 15.0, 0.5);
    EXPECT_TRUE(ZeroBetween(r, 208, 212));
    const double q0 = At<float>(r, 224), q1 = At<float>(r, 228), q2 = At<float>(r, 232),
                 q3 = At<float>(r, 236);
    EXPECT_NEAR(q0 * q0 + q1 * q1 + q2 * q2 + q3 * q3, 1.0, 1e-5);
    constexpr double kDeg = 57.29577951308232;
    const double roll = std::atan2(2 * (q0 * q1 + q2 * q3), 1 - 2 * (q1 * q1 + q2 * q2)) * kDeg;
    const double pitch = std::asin(2 * (q0 * q2 - q1 * q3)) * kDeg;
    const double yaw = std::atan2(2 * (q0 * q3 + q1 * q2), 1 - 2 * (q2 * q2 + q3 * q3)) * kDeg;
    EXPECT_NEAR(At<float>(r, 212), roll, 1e-3);
    EXPECT_NEAR(At<float>(r, 216), pitch, 1e-3);
    EXPECT_NEAR(std::remainder(At<float>(r, 220) - yaw, 360.0), 0.0, 1e-3);
}

// The AHRS view's text without its first line, the status byte, which records do not carry.
std::string WithoutFlags(const std::string& text) {
    const auto end = text.find("\\n");
    return end == std::string::npos ? text : text.substr(end + 2);
}

class HeadlessRecording : public HeadlessBoardTest {};

TEST_F(HeadlessRecording, RecordsEveryLiveReplyAndPlaysThemBack) {
    Connect("AHRS", "AHRS");
    Run("page Analyz");
    Run("choose " + std::to_string(kKind) + " 2");
    Run("click " + std::to_string(kStartStop));
    EXPECT_EQ(app_->Get(kStartStop), "Stop Recording");
    Run("wait 2000");
    // Unplugging the board ends the recording with every record received kept.
    board_.Stop();
    ASSERT_TRUE(app_->WaitUntil("status", "pane 0: Connection lost", 5s));
    EXPECT_EQ(app_->Get(kStartStop), "Start Recording");
    Run("page AHRS_View");
    const auto lastLive = app_->Get(kLiveText);
    ASSERT_TRUE(lastLive);

    const auto files = LogFiles(appDir_.File("Log"));
    ASSERT_EQ(files.size(), 1u);
    std::ifstream in(files[0], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size() % kLiveRecordSize, 0u);
    const std::size_t count = bytes.size() / kLiveRecordSize;
    // The board streams 50 replies a second.
    EXPECT_GE(count, 80u);
    EXPECT_LE(count, 130u);
    for (std::size_t n = 0; n < count; ++n) {
        LiveRecordBytes record;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(n * kLiveRecordSize),
                    kLiveRecordSize, record.begin());
        EXPECT_TRUE(IsSoundRecord(record)) << n;
        EXPECT_EQ(record[live_record::kSensorByte], 0) << n;
        // Nothing writes the GPS block, the position or the quaternion from an AHRS board.
        EXPECT_TRUE(std::all_of(record.begin() + live_record::kGps,
                                record.begin() + live_record::kReserved4 + 1,
                                [](std::uint8_t b) { return b == 0; }))
            << n;
        EXPECT_TRUE(std::all_of(record.begin() + live_record::kNavigation,
                                record.begin() + live_record::kNavigation + 36,
                                [](std::uint8_t b) { return b == 0; }))
            << n;
    }

    Run("page Analyz");
    Run("file " + files[0]);
    Run("click " + std::to_string(kOpenRecording));
    Run("choose " + std::to_string(kSpeed) + " 3");
    Run("click " + std::to_string(kPlayPause));
    const std::string end = std::to_string(count) + " / " + std::to_string(count);
    ASSERT_TRUE(app_->WaitUntil("get " + std::to_string(kPosition), end, 5s));
    Run("page AHRS_View");
    EXPECT_EQ(WithoutFlags(*app_->Get(kLiveText)), WithoutFlags(*lastLive));
}

class HeadlessGpsInsRecording : public HeadlessBoardTest {
protected:
    // Connects to a GPS/INS board and waits for its first GPS solution, which every record then
    // holds.
    void ConnectBoard(std::optional<rlim_t> fileSizeLimit = std::nullopt) {
        ASSERT_NO_FATAL_FAILURE(Connect("GPSINS", "GPSINS", fileSizeLimit));
        Run("wait 500");
    }
    void StartRecording() {
        Run("page Analyz");
        Run("choose " + std::to_string(kKind) + " " + std::to_string(kKindGpsIns));
        Run("click " + std::to_string(kStartStop));
        EXPECT_EQ(app_->Get(kStartStop), "Stop Recording");
    }
    // Stops the board's streams for a while and lets the application take in what was sent.
    void Silence(std::chrono::milliseconds time) {
        board_.Misbehave({.kind = sim::FaultKind::Stall, .time = time});
        Run("wait 300");
    }
    std::uint64_t NavOutputsSent() const { return board_.FramesWritten(16, 3); }
    std::uint64_t GpsSolutionsSent() const { return board_.FramesWritten(16, 2); }
};

// The board is silent around the start and the stop, so the frames it sent in between are
// exactly those the recording saw.
TEST_F(HeadlessGpsInsRecording, HoldsOneRecordPerNavigationOutputTheBoardSent) {
    ASSERT_NO_FATAL_FAILURE(ConnectBoard());
    Silence(std::chrono::milliseconds(1500));
    const std::uint64_t navBefore = NavOutputsSent(), gpsBefore = GpsSolutionsSent();
    StartRecording();
    Run("wait 3500");
    Silence(std::chrono::milliseconds(3000));
    const std::uint64_t navs = NavOutputsSent() - navBefore;
    const std::uint64_t solutions = GpsSolutionsSent() - gpsBefore;
    Run("click " + std::to_string(kStartStop));
    EXPECT_EQ(app_->Get(kStartStop), "Start Recording");

    const auto files = LogFiles(appDir_.File("Log"));
    ASSERT_EQ(files.size(), 1u);
    const auto records = ReadRecords(files[0]);
    // 50 navigation outputs a second for about 2.3 s after the silence.
    EXPECT_GE(navs, 80u);
    EXPECT_EQ(records.size(), navs);
    std::size_t flagged = 0;
    std::int32_t lastWeekTime = 0;
    for (std::size_t n = 0; n < records.size(); ++n) {
        SCOPED_TRACE(n);
        ExpectGpsInsRecord(records[n]);
        // The GPS block: its new-data flag set in the first record after each solution, whose
        // week time never goes back.
        flagged += records[n][103];
        const auto weekTime = At<std::int32_t>(records[n], 104);
        EXPECT_GE(weekTime, lastWeekTime);
        lastWeekTime = weekTime;
    }
    // Each record's time: one entry each, never going back, 20 ms apart on average.
    Recording recording;
    ASSERT_TRUE(ReadRecording(files[0], recording));
    ASSERT_TRUE(recording.times.AllTimed());
    ASSERT_EQ(recording.times.seconds.size(), records.size());
    EXPECT_TRUE(std::ranges::is_sorted(recording.times.seconds));
    const double span = recording.times.seconds.back() - recording.times.seconds.front();
    EXPECT_NEAR(span / static_cast<double>(records.size() - 1), 0.02, 0.005);
    // A solution sent just before the board fell silent may come after the last navigation
    // output, and the first record may show one sent before the start.
    EXPECT_LE(flagged, solutions + 1);
    EXPECT_GE(flagged + 1, solutions);
}

// Playback of a GPS/INS recording drives the GPS/INS view as the board did; the record keeps no
// navigation flags and no filter health, which read 0.
TEST_F(HeadlessGpsInsRecording, PlaybackShowsTheNavigationViewTheLiveRunShowed) {
    ASSERT_NO_FATAL_FAILURE(ConnectBoard());
    StartRecording();
    Run("page GPSINS_View");
    Run("wait 1500");
    Silence(std::chrono::milliseconds(20000));
    const auto text = [&](int id) { return app_->Get(id).value_or("<no control>"); };
    const std::string liveNav = text(View::kNavOutputText);
    const std::string liveSensors = text(View::kSensorsRawText);
    const std::string liveGps = text(View::kGpsRawText);
    ASSERT_NE(liveNav.find("KFHealth:    1 "), std::string::npos) << liveNav;
    // Unplugging ends the recording with every record and stops the live data.
    board_.Stop();
    ASSERT_TRUE(app_->WaitUntil("status", "pane 0: Connection lost", 5s));

    const auto files = LogFiles(appDir_.File("Log"));
    ASSERT_EQ(files.size(), 1u);
    const std::size_t count = ReadRecords(files[0]).size();
    ASSERT_GE(count, 50u);
    Run("page Analyz");
    Run("file " + files[0]);
    Run("click " + std::to_string(kOpenRecording));
    Run("choose " + std::to_string(kSpeed) + " " + std::to_string(kSpeed4x));
    Run("click " + std::to_string(kPlayPause));
    Run("page GPSINS_View");
    // The view follows the playback: its texts change as the records go by.
    ASSERT_TRUE(app_->WaitUntil("get " + std::to_string(View::kNavOutputText), "Flags:   0", 3s));
    Run("wait 1500");
    EXPECT_EQ(text(View::kSensorsRawText), liveSensors);
    EXPECT_EQ(text(View::kGpsRawText), liveGps);
    const std::string expectedNav =
        std::regex_replace(std::regex_replace(liveNav, std::regex("Flags:   7 "), "Flags:   0 "),
                           std::regex("KFHealth:    1 "), "KFHealth:    0 ");
    EXPECT_EQ(text(View::kNavOutputText), expectedNav);
    Run("page Analyz");
    EXPECT_EQ(app_->Get(kPosition), std::to_string(count) + " / " + std::to_string(count));
}

// A file-size limit stands in for a full disk, set on the program in a child process.
TEST_F(HeadlessGpsInsRecording, FullDiskShowsTheWriteErrorOnceAndLeavesOnlyWholeRecords) {
    ASSERT_NO_FATAL_FAILURE(ConnectBoard(10000));
    StartRecording();
    // 41 records fit: eight hand-overs of five records, the ninth cut at the limit.
    ASSERT_TRUE(app_->WaitUntil("get " + std::to_string(kStartStop), "Start Recording", 10s));
    Run("wait 1000");
    const int status = app_->End();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const auto messages =
        std::count_if(app_->Transcript().begin(), app_->Transcript().end(),
                      [](const std::string& line) { return line.starts_with("message: "); });
    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(Contains(app_->Transcript(), "message: File  Write Err\\n"));
    const auto files = LogFiles(appDir_.File("Log"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(files[0]), 41u * 242);
    // The time file keeps one entry per record kept.
    EXPECT_EQ(std::filesystem::file_size(TimesPathFor(files[0])), 41u * kTimeEntrySize);
    const auto records = ReadRecords(files[0]);
    for (std::size_t n = 0; n < records.size(); ++n) {
        SCOPED_TRACE(n);
        ExpectGpsInsRecord(records[n]);
    }
}

// The track of a flight with the simulated board, exported from the Data page as GPX and from
// the command line as KML: GPSBabel reads back a point per record at the position the board
// sent, timed by the board's GPS within the recording's span.
TEST_F(HeadlessGpsInsRecording, TrackExportsReadBackWithGpsbabel) {
    ASSERT_NO_FATAL_FAILURE(ConnectBoard());
    StartRecording();
    Run("wait 2000");
    Run("click " + std::to_string(kStartStop));
    const auto files = LogFiles(appDir_.File("Log"));
    ASSERT_EQ(files.size(), 1u);
    Recording recording;
    ASSERT_TRUE(ReadRecording(files[0], recording));
    const std::size_t count = recording.records.size();
    ASSERT_GE(count, 50u);
    ASSERT_TRUE(recording.times.fromGps);
    const auto start = RecordingStartFromName(files[0]);
    ASSERT_TRUE(start);

    Run("file " + files[0]);
    Run("click " + std::to_string(kOpenRecording));
    Run("click " + std::to_string(kExportGpx));
    const std::string gpx = files[0].substr(0, files[0].size() - 4) + ".gpx";
    EXPECT_TRUE(Contains(app_->Transcript(),
                         "message: " + std::to_string(count) + " track points written to " + gpx));
    const std::string kml = appDir_.File("flight.kml");
    const std::string command =
        std::string(ZEPHRAN_EXE) + " --export '" + files[0] + "' '" + kml + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const auto fromGpx = testing::ReadWithGpsbabel("gpx", gpx);
    const auto fromKml = testing::ReadWithGpsbabel("kml", kml);
    ASSERT_EQ(fromGpx.status, 0);
    ASSERT_EQ(fromKml.status, 0);
    ASSERT_EQ(fromGpx.track.size(), count);
    ASSERT_EQ(fromKml.track.size(), count);
    std::string lastTime;
    for (std::size_t n = 0; n < count; ++n) {
        SCOPED_TRACE(n);
        const Record record(recording.records[n].begin(), recording.records[n].end());
        const double lon = At<double>(record, 176), lat = At<double>(record, 184);
        EXPECT_NEAR(lat, sim::kHomeLat, 0.01);
        EXPECT_NEAR(lon, sim::kHomeLon, 0.01);
        for (const auto* read : {&fromGpx, &fromKml}) {
            EXPECT_NEAR(read->track[n].lat, lat, 1e-9);
            EXPECT_NEAR(read->track[n].lon, lon, 1e-9);
            EXPECT_NEAR(read->track[n].ele.value_or(-1), At<float>(record, 192), 1e-3);
        }
        // ISO times sort as they run; the board's GPS time lies within a second of the PC's.
        const std::string time = fromGpx.track[n].time;
        EXPECT_EQ(time, IsoUtc(*recording.times.Utc(n)));
        EXPECT_GE(time, lastTime);
        lastTime = time;
        EXPECT_NEAR(*recording.times.Utc(n), *start + recording.times.seconds[n], 1.5);
    }
    EXPECT_EQ(fromKml.waypoints.size(), 2u);
}

}  // namespace
}  // namespace zephran::test
