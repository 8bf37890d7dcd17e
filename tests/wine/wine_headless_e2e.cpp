// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program under Wine against a simulated board: the board serves a pty here, and
// the program reaches it as a COM port of the Wine prefix, through the Win32 serial calls. Run
// by run_wine_tests.sh, which gives the program (ZEPHRAN_WINE_EXE) and the path the prefix's
// COM port leads to (ZEPHRAN_WINE_PORT_LINK).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "e2e/headless_board_test.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/update/dlg_iap_update.h"
#include "sim/bootloader.h"

namespace zephran::test {
namespace {

using namespace std::chrono_literals;
using S = CDlgAHRSSetting;

// What the Windows program makes of a path here: the Wine prefix's Z: drive is the root.
std::string WindowsPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}

class WineHeadless : public HeadlessBoardTest {
protected:
    // Starts the board on the COM port's pty and the program set to product, which finds the
    // board by the automatic scan.
    void ConnectUnderWine(const std::string& product) {
        const char* exe = std::getenv("ZEPHRAN_WINE_EXE");
        const char* link = std::getenv("ZEPHRAN_WINE_PORT_LINK");
        ASSERT_TRUE(exe && link) << "run these through tests/wine/run_wine_tests.sh";
        Configure("Auto", 1, product);
        ASSERT_TRUE(board_.Start(product, link)) << board_.LastError();
        const std::vector<std::string> arguments{exe, "--headless", "--app-dir",
                                                 WindowsPath(appDir_.Path())};
        app_.emplace(arguments, "/usr/bin/wine", RLIM_INFINITY);
        ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", 30s));
    }

    // The frames the program has dispatched: the number in the RX pane.
    std::uint64_t Dispatched() {
        const std::string pane = app_->Pane(3);
        return std::stoull(pane.substr(pane.rfind(' ') + 1));
    }

    // Holds the board still for a moment; then what it wrote and what the program dispatched.
    std::pair<std::uint64_t, std::uint64_t> QuietCounts() {
        board_.Misbehave({.kind = sim::FaultKind::Stall, .time = 800ms});
        Run("wait 400");
        return {board_.FramesWritten(), Dispatched()};
    }
};

TEST_F(WineHeadless, FindsTheBoardAndWritesAndReadsBackTheAhrsParameters) {
    ASSERT_NO_FATAL_FAILURE(ConnectUnderWine("AHRS"));
    EXPECT_EQ(app_->Pane(1), "COM5");
    Run("page AHRS_Set");
    const auto texts = [&] {
        return std::vector<std::string>{app_->Get(S::kGyroNoise).value_or(""),
                                        app_->Get(S::kAccNoise).value_or(""),
                                        app_->Get(S::kCompassNoise).value_or("")};
    };
    Ask(S::kRead, "Read AHRS Parameters");
    EXPECT_EQ(texts(), (std::vector<std::string>{"1e-07", "1e-05", "1e-07"}));

    Set(S::kGyroNoise, "2.5e-06");
    Set(S::kAccNoise, "0.000125");
    Set(S::kCompassNoise, "3.75e-08");
    Send(S::kWrite, "Write AHRS Parameters");
    for (const int box : {S::kGyroNoise, S::kAccNoise, S::kCompassNoise})
        Set(box, "0");
    Ask(S::kRead, "Read AHRS Parameters");
    EXPECT_EQ(texts(), (std::vector<std::string>{"2.5e-06", "0.000125", "3.75e-08"}));
    ExpectNoTimeOut();
}

TEST_F(WineHeadless, StreamsLiveDataWithoutLosingAFrame) {
    ASSERT_NO_FATAL_FAILURE(ConnectUnderWine("AHRS"));
    const auto before = QuietCounts();
    Run("wait 3000");
    const auto after = QuietCounts();
    // 50 outputs a second.
    EXPECT_GE(after.first - before.first, 120u);
    EXPECT_EQ(after.second - before.second, after.first - before.first);
}

TEST_F(WineHeadless, UpdatesTheFirmwareOfAFewPages) {
    const auto control = std::make_shared<sim::BootloaderControl>();
    control->SetEraseTime(50ms);
    board_.SetBootloader(control);
    ASSERT_NO_FATAL_FAILURE(ConnectUnderWine("Standard"));
    Run("page Update_FirmwareUpdate");
    std::vector<std::uint8_t> image(5 * 1024 + 300);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + i / 1024 + 1);
    appDir_.Write("image.bin", std::string(image.begin(), image.end()));
    Set(CIAPUpdateDlg::kPath, WindowsPath(appDir_.File("image.bin")));
    Run("click " + std::to_string(CIAPUpdateDlg::kStart));
    ASSERT_TRUE(app_->WaitUntil("status", "pane 0: Firmware update succeeded", 30s));
    image.resize(6 * 1024, 0xFF);
    EXPECT_EQ(control->CompletedUpdates(), 1);
    EXPECT_TRUE(control->ReceivedImage() == image);
    EXPECT_EQ(control->RejectedPages(), 0);
}

TEST_F(WineHeadless, ABoardVanishingMidStreamIsALostConnection) {
    ASSERT_NO_FATAL_FAILURE(ConnectUnderWine("GPSINS"));
    Run("wait 500");
    board_.Stop();
    EXPECT_TRUE(app_->WaitUntil("status", "pane 0: Connection lost: COM5", 5s));
    // The program goes on answering, and ends when its input ends.
    Run("wait 200");
    EXPECT_EQ(app_->End(), 0);
}

// The COM-port transport's write time-out, which needs a line whose far end takes no bytes: a pty
// nobody reads behind the prefix's COM5, and the unit test that writes to it under Wine.
TEST(WineComPort, AWriteToALineNobodyReadsTimesOut) {
    const char* unitTests = std::getenv("ZEPHRAN_WINE_UNIT_TESTS");
    const char* link = std::getenv("ZEPHRAN_WINE_PORT_LINK");
    ASSERT_TRUE(unitTests && link) << "run these through tests/wine/run_wine_tests.sh";
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    unlink(link);
    ASSERT_EQ(symlink(ptsname(master), link), 0);

    const std::string output = std::string(link) + ".stalled.log";
    const std::string command = "ZEPHRAN_STALLED_PORT='\\\\.\\COM5' wine '" +
                                std::string(unitTests) +
                                "' --gtest_filter='ComPortOnAStalledLine.*' >'" + output + "' 2>&1";
    const int status = std::system(command.c_str());
    close(master);
    std::stringstream transcript;
    transcript << std::ifstream(output).rdbuf();
    EXPECT_EQ(status, 0) << transcript.str();
    // Ran, not skipped.
    EXPECT_NE(transcript.str().find("[  PASSED  ] 1 test."), std::string::npos) << transcript.str();
}

}  // namespace
}  // namespace zephran::test
