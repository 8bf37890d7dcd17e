// Recording the simulated AHRS board through the headless front end, then playing it back.
#include <filesystem>
#include <fstream>

#include "headless_board_test.h"
#include "views/live_record.h"

namespace zephran::test {
namespace {

constexpr int kKind = 1502, kStartStop = 1503, kOpenRecording = 1508, kPlayPause = 1510,
              kSpeed = 1511, kPosition = 1512, kLiveText = 1128;

std::vector<std::string> LogFiles(const std::string& dir) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        files.push_back(entry.path().string());
    return files;
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

}  // namespace
}  // namespace zephran::test
