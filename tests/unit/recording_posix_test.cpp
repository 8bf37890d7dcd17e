#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>

#include "pages/ahrs/dlg_ahrs.h"
#include "pages/autopilot/dlg_gpsins_view.h"
#include "pages/data/dlg_data_analyz.h"
#include "recording/csv_export.h"
#include "recording/live_record.h"
#include "recording/live_recorder.h"
#include "recording/record_times.h"
#include "recording/record_writer.h"
#include "recording/recording_export.h"
#include "records/record_store.h"
#include "support/bytes.h"
#include "support/fake_host.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::PayloadBuilder;
using Page = CDialog_Data_Analyz;

constexpr std::size_t kEntryOsd = 1, kEntryAhrs = 2, kEntryGpsIns = 3;

Bytes Live(float roll, float gx, float ax, float mx, std::uint8_t flags = 7) {
    PayloadBuilder b;
    b.U8(flags).Float(roll).Float(-2.5f).Float(90.0f);
    b.Float(gx).Float(0).Float(0).Float(ax).Float(0).Float(1).Float(mx).Float(0).Float(0);
    return b.bytes;
}

std::vector<Bytes> Records(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size() % kLiveRecordSize, 0u) << file;
    std::vector<Bytes> records;
    for (std::size_t at = 0; at + kLiveRecordSize <= bytes.size(); at += kLiveRecordSize)
        records.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + kLiveRecordSize));
    return records;
}

// The recordings in dir, without their time files.
std::vector<std::string> LogFiles(const std::string& dir) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        if (entry.path().extension() == ".dat") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The entries of a recording's time file.
std::vector<std::uint32_t> TimeEntries(const std::string& recording) {
    std::ifstream in(TimesPathFor(recording), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size() % kTimeEntrySize, 0u) << recording;
    return DecodeTimeEntries(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// The file name a recording started at start gets.
std::string NameAt(std::time_t start, const std::string& suffix = "") {
    std::tm local{};
    localtime_r(&start, &local);
    char name[64];
    std::strftime(name, sizeof name, "%Y-%m-%d-%H-%M-%S", &local);
    return name + suffix + ".dat";
}

TEST(LiveRecord, BlocksSitWhereTheLayoutPutsThem) {
    RecordSources sources;
    for (std::size_t i = 0; i < sources.sensorsRaw.size(); ++i)
        sources.sensorsRaw[i] = static_cast<std::uint8_t>(0x40 + i);
    for (std::size_t i = 0; i < sources.gpsRaw.size(); ++i)
        sources.gpsRaw[i] = static_cast<std::uint8_t>(0x80 + i);
    sources.navigation.lon = 1.0;     // 00 .. 00 F0 3F
    sources.navigation.q[3] = -2.0f;  // 00 00 00 C0
    const LiveRecordBytes r = BuildLiveRecord(sources);

    EXPECT_EQ(Bytes(r.begin(), r.begin() + 11),
              (Bytes{0x54, 0x4D, 0x0A, 0, 0, 0, 0, 0x3F, 0x00, 0xE5, 0x00}));
    EXPECT_EQ(r[11], 0x41);  // SensorsRaw byte 1
    EXPECT_EQ(r[50], 0x68);  // SensorsRaw byte 40
    EXPECT_EQ(r[51], 0);     // spare bytes of block 0
    EXPECT_EQ(r[66], 0);
    EXPECT_EQ(r[103], 0x80);  // GPSRaw byte 0
    EXPECT_EQ(r[156], 0xB5);  // GPSRaw byte 53
    EXPECT_EQ(r[157], 0);     // spare bytes of block 2
    EXPECT_EQ(r[175], 0x40);  // the sensor byte
    EXPECT_EQ(r[183], 0x3F);  // last byte of Lon
    EXPECT_EQ(r[182], 0xF0);
    EXPECT_EQ(r[239], 0xC0);  // last byte of q3
    for (std::size_t i : {67u, 102u, 164u, 174u})
        EXPECT_EQ(r[i], 0) << i;
    EXPECT_TRUE(IsSoundRecord(r));

    // A: sum of bytes 2..239; B: sum of the running A values.
    unsigned a = 0, b = 0;
    for (std::size_t i = 2; i < 240; ++i) {
        a = (a + r[i]) & 0xFF;
        b = (b + a) & 0xFF;
    }
    EXPECT_EQ(r[240], a);
    EXPECT_EQ(r[241], b);
    LiveRecordBytes damaged = r;
    damaged[100] ^= 1;
    EXPECT_FALSE(IsSoundRecord(damaged));
}

TEST(LiveRecord, ElapsedTimeIsHoursMinutesSeconds) {
    EXPECT_EQ(FormatElapsed(3700), "1 : 1 : 40 ");
    EXPECT_EQ(FormatElapsed(59), "0 : 0 : 59 ");
}

// The size of file once the writing thread has caught up with size bytes, or what it has after
// two seconds.
std::uintmax_t SizeOnceWritten(const std::string& file, std::uintmax_t size) {
    std::error_code error;
    for (int n = 0; n < 2000 && std::filesystem::file_size(file, error) != size; ++n)
        usleep(1000);
    return std::filesystem::file_size(file, error);
}

// Records reach the disk five at a time (the first hand-over of at least 1000 bytes) or once the
// oldest has waited a second; nothing reaches the writing thread before.
TEST(RecordWriter, HandsOverFiveRecordsOrWhatWaitedASecond) {
    testing::TempDir dir;
    const std::string file = dir.File("cadence.dat");
    VirtualClock clock;
    RecordWriter writer(open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644), 242, clock);
    for (int n = 0; n < 4; ++n)
        writer.Append(Bytes(242, static_cast<std::uint8_t>(n)));
    EXPECT_EQ(writer.Waiting(), 968u);
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
    writer.Append(Bytes(242, 4));
    EXPECT_EQ(writer.Waiting(), 0u);
    EXPECT_EQ(SizeOnceWritten(file, 1210), 1210u);

    // A slow stream: one record, then the tick a second after it.
    clock.AdvanceTo(5000);
    writer.Append(Bytes(242, 5));
    clock.AdvanceTo(5999);
    writer.Tick();
    EXPECT_EQ(writer.Waiting(), 242u);
    clock.AdvanceTo(6000);
    writer.Tick();
    EXPECT_EQ(writer.Waiting(), 0u);
    EXPECT_EQ(SizeOnceWritten(file, 1452), 1452u);

    // A record arriving after the second hands the waiting ones over even without a tick.
    writer.Append(Bytes(242, 6));
    clock.AdvanceTo(7500);
    writer.Append(Bytes(242, 7));
    EXPECT_EQ(writer.Waiting(), 0u);
    EXPECT_TRUE(writer.Close());
    const auto records = Records(file);
    ASSERT_EQ(records.size(), 8u);
    for (std::size_t n = 0; n < records.size(); ++n)
        EXPECT_EQ(records[n], Bytes(242, static_cast<std::uint8_t>(n))) << n;
}

// Runs body in a child process whose files may not grow beyond limit bytes (a full disk);
// true when the child ended with body's true.
bool UnderFileSizeLimit(rlim_t limit, const std::function<bool()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A file-size limit stands in for a full disk: the write that crosses it fails part-way, and
// the file is cut back to whole records.
TEST(RecordWriter, FailedWriteLeavesOnlyWholeRecords) {
    testing::TempDir dir;
    const std::string file = dir.File("limited.dat");
    EXPECT_TRUE(UnderFileSizeLimit(5000, [&file] {
        VirtualClock clock;
        RecordWriter writer(open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644), 242, clock);
        for (int n = 0; n < 40; ++n)
            writer.Append(Bytes(242, static_cast<std::uint8_t>(n)));
        const bool closed = writer.Close();
        return !closed && writer.Failed();
    }));
    // Four hand-overs of five records (4840 bytes) went whole; the fifth stopped at 5000 bytes.
    const auto records = Records(file);
    ASSERT_EQ(records.size(), 20u);
    for (std::size_t n = 0; n < records.size(); ++n)
        EXPECT_EQ(records[n], Bytes(242, static_cast<std::uint8_t>(n))) << n;
}

// A companion file that fills first (its entries are larger than the records) cuts the records
// back to the entries it holds whole, so the two always agree.
TEST(RecordWriter, FailedCompanionCutsTheRecordsToItsWholeEntries) {
    testing::TempDir dir;
    const std::string records = dir.File("records.dat"), times = dir.File("records.tim");
    EXPECT_TRUE(UnderFileSizeLimit(5000, [&records, &times] {
        VirtualClock clock;
        RecordWriter writer({{open(records.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644), 250},
                             {open(times.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644), 300}},
                            clock);
        for (int n = 0; n < 40; ++n) {
            const Bytes record(250, static_cast<std::uint8_t>(n));
            const Bytes time(300, static_cast<std::uint8_t>(n));
            const std::array<std::span<const std::uint8_t>, 2> entries{record, time};
            writer.Append(entries);
        }
        const bool closed = writer.Close();
        return !closed && writer.Failed();
    }));
    // Hand-overs of four records; 16 entries of 300 bytes fit in 5000.
    EXPECT_EQ(std::filesystem::file_size(records), 16u * 250);
    EXPECT_EQ(std::filesystem::file_size(times), 16u * 300);
}

// Records GPS/INS data in a child process whose files may not grow beyond limit bytes (a full
// disk), fed by feed until it gives up; true when the child saw exactly one "File  Write Err"
// and the recording ended. The file stays in logDir.
bool RecordsUntilTheDiskIsFull(const std::string& logDir, rlim_t limit,
                               const std::function<void(LiveRecorder&, VirtualClock&)>& feed) {
    return UnderFileSizeLimit(limit, [&] {
        testing::FakeHost host;
        VirtualClock clock;
        RecordStore records;
        LiveRecorder recorder({host, clock, logDir, records});
        if (!recorder.Start(RecordKind::GpsIns)) return false;
        feed(recorder, clock);
        const bool once = host.messages == std::vector<std::string>{"File  Write Err\n"};
        return once && !recorder.Recording();
    });
}

// A full disk in the middle of a recording: one message, the recording ends, the file keeps the
// records written whole.
TEST(LiveRecorder, WriteFailureIsShownOnceAndEndsTheRecording) {
    testing::TempDir dir;
    const std::string logDir = dir.File("Log");
    ASSERT_TRUE(RecordsUntilTheDiskIsFull(logDir, 5000, [](LiveRecorder& recorder, VirtualClock&) {
        for (int n = 0; n < 200 && recorder.Recording(); ++n) {
            recorder.NavigationOutput();
            usleep(2000);
        }
    }));
    const auto files = LogFiles(logDir);
    ASSERT_EQ(files.size(), 1u);
    const auto records = Records(files[0]);
    EXPECT_EQ(records.size(), 20u);
    EXPECT_EQ(TimeEntries(files[0]).size(), 20u);
    for (const Bytes& r : records)
        EXPECT_TRUE(IsSoundRecord(std::span<const std::uint8_t, kLiveRecordSize>(r.data(), 242)));
}

// The board stops sending right after the write that fails: the tick still reports it at once and
// ends the recording.
TEST(LiveRecorder, WriteFailureIsReportedWithoutFurtherRecords) {
    testing::TempDir dir;
    const std::string logDir = dir.File("Log");
    ASSERT_TRUE(
        RecordsUntilTheDiskIsFull(logDir, 1000, [](LiveRecorder& recorder, VirtualClock& clock) {
            for (int n = 0; n < 5; ++n)
                recorder.NavigationOutput();
            // Ticks of 10 ms, for at most two seconds of real time.
            for (int n = 1; n <= 2000 && recorder.Recording(); ++n) {
                clock.AdvanceTo(10 * n);
                recorder.OnTimerTick();
                usleep(1000);
            }
        }));
    const auto files = LogFiles(logDir);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(Records(files[0]).size(), 4u);
}

class RecordingTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("Analyz");
    }
    LiveRecorder& Recorder() { return dialog->Recorder(); }
    std::string LogDir() const { return dialog->Paths().logDir; }
    void StartRecording(std::size_t entry) {
        ASSERT_TRUE(Shown().UserChoose(Page::kKind, static_cast<int>(entry)));
        Click(Page::kStartStop);
        ASSERT_TRUE(Recorder().Recording());
    }
    const CDlgAHRS& AhrsView() const {
        return static_cast<const CDlgAHRS&>(*dialog->Pages().Find("AHRS_View"));
    }
    // Records 30 AHRS live replies and opens the recording; returns the view's text after each.
    std::vector<std::string> RecordAndOpenAhrsRun() {
        StartRecording(kEntryAhrs);
        std::vector<std::string> shown;
        for (int n = 0; n < 30; ++n) {
            Receive(15, 1, Live(0.7f * static_cast<float>(n), -12.3f, 0.98f, 412.5f, 0));
            shown.push_back(AhrsView().liveText);
        }
        Click(Page::kStartStop);
        host.nextFile = LogFiles(LogDir()).at(0);
        Click(Page::kOpenRecording);
        return shown;
    }
};

TEST_F(RecordingTest, AhrsRecordingHoldsOneRecordPerLiveReply) {
    ASSERT_FALSE(std::filesystem::exists(LogDir()));
    const std::time_t start = clock.WallTime();
    // The first press creates the Log folder and starts.
    StartRecording(kEntryAhrs);
    EXPECT_EQ(Box(Page::kStartStop), Text("DlgDataAnalyz", "IDC_STOP_ALIVE_LOG"));
    for (int n = 0; n < 5; ++n) {
        Advance(1000);
        Receive(15, 1, Live(10.0f + n, 90.0f, 0.5f, 30.0f));
    }
    EXPECT_EQ(Box(Page::kElapsed), "0 : 0 : 5 ");
    Click(Page::kStartStop);
    EXPECT_FALSE(Recorder().Recording());
    EXPECT_EQ(Box(Page::kStartStop), Text("DlgDataAnalyz", "IDC_START_ALIVE_LOG"));

    const auto files = LogFiles(LogDir());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(std::filesystem::path(files[0]).filename(), NameAt(start));
    const auto records = Records(files[0]);
    ASSERT_EQ(records.size(), 5u);
    // Beside it, the time of each record in milliseconds from the start.
    EXPECT_EQ(TimeEntries(files[0]), (std::vector<std::uint32_t>{1000, 2000, 3000, 4000, 5000}));
    for (int n = 0; n < 5; ++n) {
        const Bytes& r = records[static_cast<std::size_t>(n)];
        EXPECT_TRUE(IsSoundRecord(std::span<const std::uint8_t, kLiveRecordSize>(r.data(), 242)));
        // SensorsRaw in its own units: gx in rad/s, ax in m/s², mx as sent.
        EXPECT_FLOAT_EQ(testing::FloatAt(r, 11), 90.0f * 0.017453292519943295f);
        EXPECT_FLOAT_EQ(testing::FloatAt(r, 23), 0.5f * 9.7873f);
        EXPECT_FLOAT_EQ(testing::FloatAt(r, 35), 30.0f);
        EXPECT_EQ(r[175], 0);
        // The navigation sample's roll, pitch and yaw.
        EXPECT_FLOAT_EQ(testing::FloatAt(r, 212), 10.0f + static_cast<float>(n));
        EXPECT_FLOAT_EQ(testing::FloatAt(r, 216), -2.5f);
        EXPECT_FLOAT_EQ(testing::FloatAt(r, 220), 90.0f);
    }
}

// The main window's tick gives the recording its one-second limit: a single record of a slow
// stream is on disk a second after it came, while the recording goes on.
TEST_F(RecordingTest, ASlowStreamReachesTheDiskWithinASecond) {
    StartRecording(kEntryAhrs);
    Receive(15, 1, Live(1, 0, 0, 0));
    const std::string file = LogFiles(LogDir()).at(0);
    Advance(990);
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
    Advance(10);
    EXPECT_EQ(SizeOnceWritten(file, kLiveRecordSize), kLiveRecordSize);
    EXPECT_TRUE(Recorder().Recording());
}

TEST_F(RecordingTest, GpsInsRecordingTakesTheNavigationSample) {
    StartRecording(kEntryGpsIns);
    Receive(15, 1, Live(1, 2, 3, 4));  // not recorded in this kind
    PayloadBuilder sensors;
    sensors.U8(0x5A);
    for (int i = 0; i < 10; ++i)
        sensors.Float(static_cast<float>(i));
    Receive(16, 1, sensors.bytes);
    Bytes gps(54);
    for (std::size_t i = 0; i < gps.size(); ++i)
        gps[i] = static_cast<std::uint8_t>(i + 1);
    Receive(16, 2, gps);
    // A navigation output heading 45 degrees.
    NavOutputRecord nav{};
    nav.lon = 11.5;
    nav.lat = 48.25;
    nav.hmsl = 520.0f;
    nav.vccD = -1.5f;
    nav.q[0] = std::cos(0.3926991f);
    nav.q[3] = std::sin(0.3926991f);
    const auto* navBytes = reinterpret_cast<const std::uint8_t*>(&nav);
    Receive(16, 3, Bytes(navBytes, navBytes + sizeof nav));
    Click(Page::kStartStop);

    const auto records = Records(LogFiles(LogDir()).at(0));
    ASSERT_EQ(records.size(), 1u);
    const Bytes& r = records[0];
    EXPECT_FLOAT_EQ(testing::FloatAt(r, 11 + 8), 2.0f);  // SensorsRaw gz at its offset 9
    EXPECT_EQ(r[175], 0x5A);
    EXPECT_EQ(Bytes(r.begin() + 103, r.begin() + 157), gps);
    EXPECT_DOUBLE_EQ(testing::DoubleAt(r, 176), 11.5);
    EXPECT_DOUBLE_EQ(testing::DoubleAt(r, 184), 48.25);
    EXPECT_FLOAT_EQ(testing::FloatAt(r, 192), 520.0f);
    EXPECT_FLOAT_EQ(testing::FloatAt(r, 204), -1.5f);
    EXPECT_NEAR(testing::FloatAt(r, 220), 45.0f, 1e-4);
    EXPECT_FLOAT_EQ(testing::FloatAt(r, 224), std::cos(0.3926991f));
}

// A language file may give the button another first caption than the start text: the first press
// still starts, and the captions follow the recording from then on.
TEST_F(RecordingTest, FirstPressStartsWhateverTheButtonSays) {
    Shown().SetDlgItemText(Page::kStartStop, "Begin/End");
    StartRecording(kEntryAhrs);
    EXPECT_EQ(Box(Page::kStartStop), Text("DlgDataAnalyz", "IDC_STOP_ALIVE_LOG"));
    Click(Page::kStartStop);
    EXPECT_FALSE(Recorder().Recording());
    EXPECT_EQ(Box(Page::kStartStop), Text("DlgDataAnalyz", "IDC_START_ALIVE_LOG"));
}

TEST_F(RecordingTest, KindsWithoutRecordsGiveAnEmptyFile) {
    for (std::size_t entry : {std::size_t{0}, kEntryOsd}) {
        StartRecording(entry);
        Receive(15, 1, Live(1, 2, 3, 4));
        Click(Page::kStartStop);
        Advance(1000);
    }
    const auto files = LogFiles(LogDir());
    ASSERT_EQ(files.size(), 2u);
    for (const auto& file : files)
        EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

TEST_F(RecordingTest, TwoRecordingsWithinOneSecondAreBothKept) {
    const std::time_t start = clock.WallTime();
    StartRecording(kEntryAhrs);
    Receive(15, 1, Live(1, 0, 0, 0));
    Click(Page::kStartStop);
    StartRecording(kEntryAhrs);
    Receive(15, 1, Live(2, 0, 0, 0));
    Receive(15, 1, Live(3, 0, 0, 0));
    Click(Page::kStartStop);
    const auto files = LogFiles(LogDir());
    ASSERT_EQ(files.size(), 2u);
    // "-" sorts before ".": the second recording comes first.
    EXPECT_EQ(Records(files[0]).size(), 2u);
    EXPECT_EQ(Records(files[1]).size(), 1u);
    EXPECT_EQ(std::filesystem::path(files[0]).filename(), NameAt(start, "-2"));
    EXPECT_EQ(std::filesystem::path(files[1]).filename(), NameAt(start));
}

TEST_F(RecordingTest, QuittingOrLosingThePortKeepsEveryRecord) {
    StartRecording(kEntryAhrs);
    for (int n = 0; n < 3; ++n)
        Receive(15, 1, Live(static_cast<float>(n), 0, 0, 0));
    link->Lose();
    dialog->ProcessPortEvents();
    EXPECT_FALSE(Recorder().Recording());
    EXPECT_EQ(Box(Page::kStartStop), Text("DlgDataAnalyz", "IDC_START_ALIVE_LOG"));
    EXPECT_EQ(Records(LogFiles(LogDir()).at(0)).size(), 3u);

    Advance(2000);
    StartRecording(kEntryAhrs);
    for (int n = 0; n < 40; ++n)
        Receive(15, 1, Live(static_cast<float>(n), 0, 0, 0));
    const std::string logDir = LogDir();
    dialog.reset();
    EXPECT_EQ(Records(LogFiles(logDir).at(1)).size(), 40u);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RecordingTest, LogFolderThatCannotBeMadeIsReported) {
    dir.Write("app/Log", "a file where the folder should be");
    Click(Page::kStartStop);
    EXPECT_FALSE(Recorder().Recording());
    EXPECT_EQ(host.messages, std::vector<std::string>{"Can not create directory "});
    Click(Page::kOpenFolder);
    EXPECT_EQ(host.messages.back(), "No Log File ");
}

// The records carry no status byte of the AHRS live reply: a board that sends 0 there reads back
// the same.
TEST_F(RecordingTest, PlaybackShowsTheAhrsViewTheLiveRunShowed) {
    const CDlgAHRS& view = AhrsView();
    const std::vector<std::string> live = RecordAndOpenAhrsRun();
    EXPECT_EQ(Box(Page::kPosition), "0 / 30");
    Click(Page::kPlayPause);
    EXPECT_EQ(Box(Page::kPlayPause), "Pause");
    Advance(100);  // 1×: 50 records a second
    EXPECT_EQ(Box(Page::kPosition), "5 / 30");
    EXPECT_EQ(view.liveText, live[4]);
    Advance(1000);
    EXPECT_EQ(Box(Page::kPosition), "30 / 30");
    EXPECT_EQ(Box(Page::kPlayPause), "Play");
    EXPECT_EQ(view.liveText, live.back());
    EXPECT_TRUE(host.messages.empty());
}

// A board still streaming while a recording plays does not show through; its other replies do,
// and its live data is back once playback ends.
TEST_F(RecordingTest, PlaybackAloneDrivesTheViewsWhileItPlays) {
    const CDlgAHRS& view = AhrsView();
    const std::vector<std::string> recorded = RecordAndOpenAhrsRun();
    Click(Page::kPlayPause);
    Advance(100);
    const std::uint32_t liveBefore = dialog->Session().Dispatcher().LiveCount(LiveStream::kAhrs);
    Receive(15, 1, Live(99.0f, 99.0f, 0.5f, 100.0f, 0));
    EXPECT_EQ(view.liveText, recorded[4]);
    EXPECT_EQ(dialog->Session().Dispatcher().LiveCount(LiveStream::kAhrs), liveBefore);
    Bytes noise(25, 0);
    noise[0] = 0x5A;
    Receive(15, 32, noise);  // the noise parameters' reply
    EXPECT_EQ(dialog->Records().ahrsParam.leading, 0x5A);

    Advance(1000);
    ASSERT_EQ(Box(Page::kPlayPause), "Play");
    Receive(15, 1, Live(99.0f, 99.0f, 0.5f, 100.0f, 0));
    EXPECT_NE(view.liveText, recorded.back());
}

// Playback of a GPS/INS recording through the GPS/INS view, record by record. The board sends
// its GPS solution every fifth navigation output and no flags or filter health, which records
// do not keep.
class GpsInsPlaybackTest : public RecordingTest {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("Analyz", "GPSINS");
    }
    void Select(const char* key) { dialog->Tree().SelectItem(dialog->Tree().FindKey(key)); }
    // The view's three texts.
    std::vector<std::string> ViewTexts() const {
        using View = CDlgGPSINSView;
        return {Box(View::kNavOutputText), Box(View::kSensorsRawText), Box(View::kGpsRawText)};
    }
    // One moment of a board flying north-east and turning.
    void Send(int n) {
        const float t = 0.02f * static_cast<float>(n);
        if (n % 5 == 0) {
            GpsRawRecord gps{};
            gps.dataNewF = 1;
            gps.itow = 1000 + 200 * n;
            gps.lon = 11.0 + t;
            gps.numSv = 9;
            gps.velN = 3.0f + t;
            Receive(16, 2, BytesOf(gps));
        }
        SensorsRawRecord raw{};
        raw.health = 15;
        raw.gz = 0.1f + t;
        raw.ax = -0.2f * t;
        raw.mx = 200.0f + t;
        raw.hmsl = 500.0f + t;
        Receive(16, 1, BytesOf(raw));
        NavOutputRecord nav{};
        nav.lon = 11.0 + t;
        nav.lat = 48.0 - t;
        nav.hmsl = 500.0f + t;
        nav.vccN = 3.0f + t;
        nav.q[0] = std::cos(t);
        nav.q[3] = std::sin(t);
        nav.gyroZ = raw.gz;
        nav.accbX = raw.ax;
        nav.numSv = 9;
        Receive(16, 3, BytesOf(nav));
    }
    template <typename Record>
    static Bytes BytesOf(const Record& record) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
        return Bytes(bytes, bytes + sizeof record);
    }
};

TEST_F(GpsInsPlaybackTest, ViewShowsWhatTheLiveRunShowedRecordByRecord) {
    StartRecording(kEntryGpsIns);
    Select("GPSINS_View");
    std::vector<std::vector<std::string>> live;
    for (int n = 0; n < 12; ++n) {
        Send(n);
        live.push_back(ViewTexts());
    }
    EXPECT_NE(live[0], live[1]);
    Select("Analyz");
    Click(Page::kStartStop);

    host.nextFile = LogFiles(LogDir()).at(0);
    Click(Page::kOpenRecording);
    Click(Page::kPlayPause);
    Select("GPSINS_View");
    for (std::size_t n = 0; n < live.size(); ++n) {
        Advance(20);  // 1×: one record every 20 ms
        EXPECT_EQ(ViewTexts(), live[n]) << n;
    }
    EXPECT_TRUE(host.messages.empty());
}

// Open Recording starts in the Log folder; Export CSV proposes the recording's folder and name
// and writes where the user says.
TEST_F(RecordingTest, ChoosersStartInTheLogFolderAndBesideTheRecording) {
    RecordAndOpenAhrsRun();
    EXPECT_EQ(host.startDirs, std::vector<std::string>{LogDir()});
    const std::string recording = LogFiles(LogDir()).at(0);

    host.cancelSave = true;
    Click(Page::kExportCsv);
    EXPECT_EQ(host.proposals,
              std::vector<std::string>{ExportPathFor(recording, ExportFormat::Csv)});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(ExportPathFor(recording, ExportFormat::Csv)));

    host.cancelSave = false;
    host.saveAs = dir.File("elsewhere.csv");
    Click(Page::kExportCsv);
    EXPECT_EQ(host.messages, std::vector<std::string>{"30 records written to " + *host.saveAs});
    EXPECT_TRUE(std::filesystem::exists(*host.saveAs));
}

// View opens the desktop's viewer on the open recording; a host without one says so. The export
// buttons write each format beside the recording; an AHRS recording has no track.
TEST_F(RecordingTest, ViewAndExportsActOnTheOpenRecording) {
    EXPECT_FALSE(Shown().Find(Page::kView)->enabled);
    RecordAndOpenAhrsRun();
    const std::string recording = LogFiles(LogDir()).at(0);
    ASSERT_TRUE(Shown().Find(Page::kView)->enabled);
    Click(Page::kView);
    EXPECT_EQ(host.viewed, std::vector<std::string>{recording});
    host.hasViewer = false;
    Click(Page::kView);
    EXPECT_EQ(host.messages, std::vector<std::string>{"The viewer needs the desktop window."});

    host.messages.clear();
    Click(Page::kExportGpx);
    Click(Page::kExportKml);
    EXPECT_EQ(host.proposals,
              (std::vector<std::string>{ExportPathFor(recording, ExportFormat::Gpx),
                                        ExportPathFor(recording, ExportFormat::Kml)}));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_TRUE(host.messages[1].starts_with("The recording holds no position"))
        << host.messages[1];
    EXPECT_FALSE(std::filesystem::exists(ExportPathFor(recording, ExportFormat::Gpx)));
}

TEST_F(RecordingTest, OpenFolderOpensTheLogFolder) {
    StartRecording(0);
    Click(Page::kOpenFolder);
    EXPECT_EQ(host.opened, std::vector<std::string>{LogDir()});
}

}  // namespace
}  // namespace zephran
