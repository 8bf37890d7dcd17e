// Whether the parameter sets say truthfully what the board holds, through the headless front end
// against simulated boards: another board's values are never the connected one's, Default and an
// edit leave the board's values until read or written, and quitting asks before edits are lost.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"

namespace zephran::test {
namespace {

using namespace std::chrono_literals;
using Cal = CDlgSensorCalibrate;
using Setting = CDlgAHRSSetting;

class HeadlessSetState : public HeadlessBoardTest {
protected:
    Lines Sets() { return app_->Listing("sets"); }
    bool SetsShow(const std::string& line) { return app_->WaitUntil("sets", line, 3s); }
};

TEST_F(HeadlessSetState, AnotherBoardsCalibrationIsNotShownAsTheNewOnesUntilRead) {
    ASSERT_NO_FATAL_FAILURE(Connect("AHRS", "AHRS"));
    Run("page AHRS_Cal");
    const Lines unread{"Gyroscope scale: not read",     "Accelerometer offsets: not read",
                       "Gyroscope zero bias: not read", "Compass offsets and scales: not read",
                       "Compass extremes: not read",    "North trim: not read"};
    EXPECT_EQ(Sets(), unread);
    Ask(Cal::kAccRead, "Read Acc Cal");
    Ask(Cal::kMagRead, "Read Mag Cal");
    EXPECT_EQ(Sets(),
              (Lines{"Gyroscope scale: not read", "Accelerometer offsets: as on the board",
                     "Gyroscope zero bias: not read", "Compass offsets and scales: as on the board",
                     "Compass extremes: as on the board", "North trim: not read"}));
    const std::string ahrsOffset = app_->Get(1023).value_or("");

    // The GPS/INS board takes the AHRS board's place on the port, and its product is chosen.
    ASSERT_TRUE(board_.Start("GPSINS", appDir_.File("board"))) << board_.LastError();
    ASSERT_TRUE(app_->WaitUntil("status", "pane 0: Connection lost", 3s));
    ASSERT_TRUE(app_->WaitUntil("status", "pane 0: Board connected", 5s));
    Run("menu 1224");
    Run("page AHRS_Cal");
    EXPECT_EQ(Sets(), unread);
    // The AHRS board's numbers are still in the boxes, marked as not read.
    EXPECT_EQ(app_->Get(1023), ahrsOffset);

    Ask(Cal::kMagRead, "Read Mag Cal");
    EXPECT_EQ(Sets(),
              (Lines{"Gyroscope scale: not read", "Accelerometer offsets: not read",
                     "Gyroscope zero bias: not read", "Compass offsets and scales: as on the board",
                     "Compass extremes: as on the board", "North trim: not read"}));
    ExpectNoTimeOut();
}

TEST_F(HeadlessSetState, DefaultAndEditsLeaveTheBoardsValuesUntilReadOrWritten) {
    ASSERT_NO_FATAL_FAILURE(Connect("AHRS", "AHRS"));
    Run("page AHRS_Set");
    EXPECT_EQ(Sets(), Lines{"AHRS noise parameters: not read"});
    Ask(Setting::kRead, "Read AHRS Parameters");
    EXPECT_EQ(Sets(), Lines{"AHRS noise parameters: as on the board"});

    Set(Setting::kAccNoise, "0.000125");
    EXPECT_EQ(Sets(), Lines{"AHRS noise parameters: edited"});
    Send(Setting::kWrite, "Write AHRS Parameters");
    EXPECT_TRUE(SetsShow("AHRS noise parameters: as on the board"));

    // The board resets its values and does not report them: the old ones stay, as not read.
    Send(Setting::kDefault, "Default AHRS Parameters");
    EXPECT_EQ(Sets(), Lines{"AHRS noise parameters: not read"});
    EXPECT_EQ(app_->Get(Setting::kAccNoise), "0.000125");
    Ask(Setting::kRead, "Read AHRS Parameters");
    EXPECT_EQ(Sets(), Lines{"AHRS noise parameters: as on the board"});
    EXPECT_EQ(app_->Get(Setting::kAccNoise), "1e-05");
    ExpectNoTimeOut();
}

TEST_F(HeadlessSetState, QuittingWithAnUnwrittenEditAsksFirst) {
    ASSERT_NO_FATAL_FAILURE(Connect("AHRS", "AHRS"));
    Run("page AHRS_Set");
    Set(Setting::kGyroNoise, "0.5");
    // Another page and another product keep the text.
    Run("page AHRS_Cal");
    Run("menu 1224");
    Run("menu 1223");
    Run("page AHRS_Set");
    EXPECT_EQ(app_->Get(Setting::kGyroNoise), "0.5");

    const std::string question =
        "question: Some values were changed but not written to the board. Quit anyway?";
    EXPECT_EQ(app_->Command("quit"), Lines{question});
    EXPECT_EQ(app_->Command("no"), Lines{"ok"});
    EXPECT_EQ(Sets(), Lines{"AHRS noise parameters: edited"});
    EXPECT_EQ(app_->Command("quit"), Lines{question});
    EXPECT_EQ(app_->Command("yes"), Lines{"ok"});
    // Ended: the driver would wait in vain and abort the test program otherwise.
    app_->End();
}

TEST_F(HeadlessSetState, TheEndOfTheInputEndsTheProgramWithUnwrittenEdits) {
    Configure("Auto", 1, "AHRS");
    ASSERT_TRUE(board_.Start("AHRS", appDir_.File("board"))) << board_.LastError();
    int exitCode = -1;
    const Lines lines = RunScript(Arguments({appDir_.File("board")}),
                                  "page AHRS_Set\nset 1005 0.5\nsets\n", exitCode);
    EXPECT_EQ(lines, (Lines{"ok", "ok", "AHRS noise parameters: edited", "ok"}));
    EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace zephran::test
