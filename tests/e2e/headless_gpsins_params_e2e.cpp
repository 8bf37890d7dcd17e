// SPDX-License-Identifier: GPL-3.0-or-later
// Parameter files of a simulated GPS/INS board through the headless front end: the mounting and
// mode choices are saved with the filter parameters, a change on the board shows in a
// comparison, and a load puts the saved choice back.
#include <gtest/gtest.h>

#include <string>

#include "headless_board_test.h"
#include "pages/autopilot/dlg_gpsins_setting_misc.h"

namespace zephran::test {
namespace {

using Misc = CDlgGPSINSSettingMisc;

class HeadlessGpsInsParams : public HeadlessBoardTest {
protected:
    bool RunningModeIs(int index) {
        Run("page GPSINS_Set_Misc");
        Ask(Misc::kRead, "Read GPS/INS Settings");
        const std::string id = std::to_string(Misc::kFirstRadio[Misc::kRunningMode] + index);
        return app_->Listing("checked " + id) == Lines{id + "=1"};
    }
};

TEST_F(HeadlessGpsInsParams, TheMountingAndModeChoicesAreSavedComparedAndLoaded) {
    ASSERT_NO_FATAL_FAILURE(Connect("GPSINS", "GPSINS"));
    const std::string saved = appDir_.File("gpsins.json");
    const Lines save = app_->Command("params save " + saved);
    ASSERT_FALSE(save.empty());
    ASSERT_EQ(save.back(), "ok") << ::testing::PrintToString(save);
    const std::string text = appDir_.Read("gpsins.json");
    EXPECT_NE(text.find("\"name\": \"GPS/INS misc settings\""), std::string::npos);
    EXPECT_NE(text.find("\"runningMode\": {\n"), std::string::npos);
    EXPECT_NE(text.find("\"mountingDirection\": {\n"), std::string::npos);

    // The board switched to AHRS mode from the page.
    ASSERT_TRUE(RunningModeIs(2));
    Run("click " + std::to_string(Misc::kFirstRadio[Misc::kRunningMode] + 1));
    Send(Misc::kWrite, "Write GPS/INS Settings");
    ASSERT_TRUE(RunningModeIs(1));

    EXPECT_EQ(app_->Command("params diff " + saved),
              (Lines{"GPS/INS mounting and mode / Running Mode: file=2, board=1", "ok"}));
    const Lines question = app_->Command("params load " + saved);
    ASSERT_FALSE(question.empty());
    ASSERT_TRUE(question.back().starts_with("question: ")) << question.back();
    EXPECT_EQ(app_->Command("yes"),
              (Lines{"Wrote 1 parameter sets: GPS/INS mounting and mode.", "ok"}));
    EXPECT_TRUE(RunningModeIs(2));
    EXPECT_EQ(app_->Command("params diff " + saved), (Lines{"No differences.", "ok"}));
    ExpectNoTimeOut();
}

}  // namespace
}  // namespace zephran::test
