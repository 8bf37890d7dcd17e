// The antenna tracker, multicopter and helicopter pages through the headless front end, against
// simulated boards on a pty.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <limits>
#include <string>

#include "headless_board_test.h"
#include "pages/autopilot/dlg_heli_page.h"
#include "pages/autopilot/dlg_multicopter_misc.h"
#include "pages/osd_tracker/dlg_aat_communicate.h"
#include "pages/osd_tracker/mag_cal_dlg.h"

namespace zephran::test {
namespace {

using Mag = CMagCalDlg;

class HeadlessTracker : public HeadlessBoardTest {
protected:
    std::string Text(int id) { return app_->Get(id).value_or("<no control>"); }
    double Number(int id) { return std::strtod(Text(id).c_str(), nullptr); }

    // Whether box id shows text within 3 s. The tracker's own frames keep the short traffic
    // log turning over, so replies are awaited on the page rather than in the log.
    bool Shows(int id, const std::string& text) {
        const auto deadline = steady_clock::now() + std::chrono::seconds(3);
        while (Text(id) != text) {
            if (steady_clock::now() >= deadline) return false;
            app_->Command("wait 20");
        }
        return true;
    }
    // Sets a box, sends the page's request for it, clears the box and reads it back.
    void WriteAndReadBack(int box, const std::string& value, int set, const char* setName, int read,
                          const char* readName) {
        Set(box, value);
        Send(set, setName);
        Set(box, "0");
        Send(read, readName);
        EXPECT_TRUE(Shows(box, value)) << readName << " shows " << Text(box);
    }
};

TEST_F(HeadlessTracker, CompassSettingsAreWrittenReadBackAndReset) {
    ASSERT_NO_FATAL_FAILURE(Connect("AAT", "AAT"));
    Run("page AAT_Mag_Cal");
    Set(Mag::kSpeed, "0");
    Send(Mag::kReadSpeed, "AAT Read Motor Speed");
    EXPECT_TRUE(Shows(Mag::kSpeed, "4000"));
    WriteAndReadBack(Mag::kSpeed, "2500", Mag::kSetSpeed, "AAT Set Motor Speed", Mag::kReadSpeed,
                     "AAT Read Motor Speed");
    WriteAndReadBack(Mag::kCompassOffset, "-4.5", Mag::kSetCompassOffset, "AAT Set Compass Offset",
                     Mag::kReadCompassOffset, "AAT Read Compass Offset");
    Send(Mag::kDefaultCalibration, "AAT Default Compass Cal");
    Send(Mag::kReadSpeed, "AAT Read Motor Speed");
    EXPECT_TRUE(Shows(Mag::kSpeed, "4000"));
    Send(Mag::kReadCompassOffset, "AAT Read Compass Offset");
    EXPECT_TRUE(Shows(Mag::kCompassOffset, "0"));
    ExpectNoTimeOut();
}

// At a speed of 9000 the tracker turns 180 degrees a second: one turn in 2 s.
TEST_F(HeadlessTracker, CompassCalibrationRunsToItsOffsetsAndScales) {
    ASSERT_NO_FATAL_FAILURE(Connect("AAT", "AAT"));
    Run("page AAT_Mag_Cal");
    Set(Mag::kSpeed, "9000");
    Send(Mag::kSetSpeed, "AAT Set Motor Speed");
    Send(Mag::kBeginCal, "AAT Start Compass Cal");
    EXPECT_TRUE(app_->WaitUntil("get " + std::to_string(Mag::kXMax), "=", std::chrono::seconds(1)));
    // The extremes grow while the tracker turns, and stay once the turn is done; before the
    // first report they may still stand crossed.
    double xRange = -std::numeric_limits<double>::infinity();
    for (int polls = 0; polls < 40; ++polls) {
        Run("wait 100");
        const double range = Number(Mag::kXMax) - Number(Mag::kXMin);
        EXPECT_GE(range, xRange);
        xRange = range;
    }
    const double xMin = Number(Mag::kXMin), xMax = Number(Mag::kXMax);
    const double yMin = Number(Mag::kYMin), yMax = Number(Mag::kYMax);
    EXPECT_NEAR(xMax - xMin, 840, 10);
    EXPECT_NEAR(yMax - yMin, 756, 10);
    EXPECT_GE(Number(Mag::kXValue), xMin);
    EXPECT_LE(Number(Mag::kYValue), yMax);

    Send(Mag::kReadCalibration, "AAT Read Compass Cal");
    const auto deadline = steady_clock::now() + std::chrono::seconds(3);
    while (Text(Mag::kXScale) == "0" && steady_clock::now() < deadline)
        Run("wait 20");
    const double mean = (xMax - xMin + yMax - yMin) / 4;
    EXPECT_NEAR(Number(Mag::kXOffset), (xMax + xMin) / 2, 0.01);
    EXPECT_NEAR(Number(Mag::kYOffset), (yMax + yMin) / 2, 0.01);
    EXPECT_NEAR(Number(Mag::kXScale), mean / ((xMax - xMin) / 2), 1e-4);
    EXPECT_NEAR(Number(Mag::kYScale), mean / ((yMax - yMin) / 2), 1e-4);
    ExpectNoTimeOut();
}

TEST_F(HeadlessTracker, LiveDataShowsAMovingTracker) {
    ASSERT_NO_FATAL_FAILURE(Connect("AAT", "AAT"));
    Run("page AAT_Communicate");
    const int box = CDlg_AAT_Communicate::kReceived;
    ASSERT_TRUE(
        app_->WaitUntil("get " + std::to_string(box), "Alt:     35 ", std::chrono::seconds(2)));
    const std::string first = Text(box);
    EXPECT_NE(first.find(" Lat:     22.5431232 \\r\\n Lon:    113.9472122 \\r\\n"),
              std::string::npos)
        << first;
    Run("wait 1000");
    EXPECT_NE(Text(box), first);
    // Its audio choice and buttons send nothing.
    const auto log = app_->Listing("log");
    for (int id : {CDlg_AAT_Communicate::kAudioYes, CDlg_AAT_Communicate::kRead,
                   CDlg_AAT_Communicate::kWrite})
        Run("click " + std::to_string(id));
    for (const std::string& line : app_->Listing("log"))
        EXPECT_FALSE(line.starts_with("**") && !Contains(log, line)) << line;
}

TEST_F(HeadlessTracker, MulticopterAcknowledgesItsOutputChoiceUnlogged) {
    ASSERT_NO_FATAL_FAILURE(Connect("Multicopter", "Multicopter"));
    Run("page Multicopter_Misc");
    Run("click " + std::to_string(CDlgMulticopterMisc::kDirect));
    Send(CDlgMulticopterMisc::kSet, "Set GPS/INS Output");
    ExpectNoTimeOut();
    EXPECT_FALSE(Contains(app_->Listing("log"), "Set GPS/INS Output OK"));
}

TEST_F(HeadlessTracker, HelicopterPagesSendNothingAndGreyTheirButtons) {
    ASSERT_NO_FATAL_FAILURE(Connect("Helicopter", "Helicopter"));
    const auto log = app_->Listing("log");
    // A button without a request is greyed, says why, and refuses the press.
    const auto expectGreyed = [this](int id) {
        const std::string text = std::to_string(id);
        EXPECT_EQ(app_->Listing("enabled " + text), Lines{text + "=0"});
        EXPECT_EQ(app_->Listing("tip " + text),
                  Lines{text + "=This board takes no such request yet."});
        EXPECT_EQ(app_->Command("click " + text), Lines{"error: control " + text + " is disabled"});
    };
    Run("page Helicopter_SwashPlate");
    Run("click " + std::to_string(HeliSwashplate::kAileSign));
    EXPECT_EQ(Text(HeliSwashplate::kAileSign), "-");
    EXPECT_EQ(app_->Listing("enabled " + std::to_string(HeliSwashplate::kAileSign)),
              Lines{std::to_string(HeliSwashplate::kAileSign) + "=1"});
    Run("click " + std::to_string(HeliSwashplate::kFirstDirection + 3));
    EXPECT_EQ(Text(HeliSwashplate::kFirstDirection + 3), "REV");
    expectGreyed(HeliSwashplate::kRead);
    expectGreyed(HeliSwashplate::kWrite);
    Run("page Helicopter_RCCal");
    Run("release " + std::to_string(HeliRcCalibrate::kFirstInputSlider));
    expectGreyed(HeliRcCalibrate::kStart);
    EXPECT_EQ(Text(HeliRcCalibrate::kFirstInputBox), "0");
    Run("page Helicopter_Mouting");
    Run("click " + std::to_string(HeliMounting::kFirstDirection + 1));
    expectGreyed(HeliMounting::kWrite);
    Run("page Helicopter_Autopilot");
    expectGreyed(HeliAutopilot::kRead);
    Run("page Helicopter_SystemCheck");
    Run("wait 1500");
    EXPECT_EQ(app_->Listing("log"), log);
    for (const std::string& line : app_->Transcript())
        EXPECT_FALSE(line.starts_with("message: ")) << line;
}

}  // namespace
}  // namespace zephran::test
