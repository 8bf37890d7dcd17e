#include "pages/autopilot/dlg_heli_page.h"
#include "pages/autopilot/dlg_multicopter_misc.h"
#include "platform/app_paths.h"
#include "platform/whole_file.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using Multi = CDlgMulticopterMisc;
using Swash = HeliSwashplate;

class MulticopterTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("Multicopter_Misc", "Multicopter");
    }
};

TEST_F(MulticopterTest, SetSendsTheChosenOutputAsOneByte) {
    Click(Multi::kSet);
    EXPECT_EQ(Last().group, 17);
    EXPECT_EQ(Last().msgId, 1);
    EXPECT_EQ(Last().payload, std::vector<std::uint8_t>{0x00});
    Click(Multi::kDirect);
    Click(Multi::kSet);
    EXPECT_EQ(Last().payload, std::vector<std::uint8_t>{0x01});
    EXPECT_EQ(static_cast<Multi&>(Shown()).output, 1);
}

// The board's group-17 frames reach no log and no page.
TEST_F(MulticopterTest, BoardFramesAreNeitherLoggedNorDecoded) {
    Click(Multi::kDirect);
    const auto lines = Log().size();
    Receive(17, 1, {0x00});
    Receive(17, 9, {0x01, 0x02});
    EXPECT_EQ(Log().size(), lines);
    EXPECT_TRUE(Shown().IsDlgButtonChecked(Multi::kDirect));
}

class HelicopterTest : public testing::PageFixture {
protected:
    void Show(const char* treeKey) {
        ShowPage(treeKey, "Helicopter");
        writes_ = link->written.size();
    }
    // No message exists for any button of these pages: each is greyed and says why, and a
    // press on it is refused and sends nothing.
    void ExpectButtonsGreyedSendingNothing(const std::string& tip = kEnglishTip) {
        int buttons = 0;
        for (const ui::Control& c : Shown().Controls()) {
            if (c.kind != ui::ControlKind::Button) continue;
            ++buttons;
            EXPECT_FALSE(c.enabled) << c.id;
            EXPECT_EQ(c.tip, tip) << c.id;
            EXPECT_FALSE(Shown().UserClick(c.id)) << c.id;
        }
        EXPECT_GT(buttons, 0);
        EXPECT_EQ(link->written.size(), writes_);
        EXPECT_TRUE(host.messages.empty());
    }
    static constexpr const char* kEnglishTip = "This board takes no such request yet.";
    std::size_t writes_ = 0;
};

TEST_F(HelicopterTest, SwashplateLabelsToggleTheirCaptions) {
    Show("Helicopter_SwashPlate");
    for (int sign : {Swash::kAileSign, Swash::kElevSign, Swash::kPitchSign}) {
        EXPECT_EQ(Box(sign), "+");
        Click(sign);
        EXPECT_EQ(Box(sign), "-");
        Click(sign);
        EXPECT_EQ(Box(sign), "+");
    }
    for (int k = 0; k < 4; ++k) {
        const int direction = Swash::kFirstDirection + k;
        EXPECT_EQ(Box(direction), "NOR");
        Click(direction);
        EXPECT_EQ(Box(direction), "REV");
        Click(direction);
        EXPECT_EQ(Box(direction), "NOR");
        Shown().SetDlgItemText(direction, "other");
        Click(direction);
        EXPECT_EQ(Box(direction), "NOR");
    }
    // Clicking one label leaves the others as they are.
    Click(Swash::kElevSign);
    EXPECT_EQ(Box(Swash::kAileSign), "+");
    EXPECT_EQ(Box(Swash::kPitchSign), "+");
    ExpectButtonsGreyedSendingNothing();
}

TEST_F(HelicopterTest, SwashplateValuesStartAtZeroAndSpinsWriteTheirBoxes) {
    Show("Helicopter_SwashPlate");
    EXPECT_TRUE(Shown().IsDlgButtonChecked(Swash::kTypeFirst));
    for (int box : {int(Swash::kRotation), int(Swash::kAileRate), int(Swash::kFirstTrim) + 3})
        EXPECT_EQ(Box(box), "0");
    const ui::Control* rotation = Shown().Find(Swash::kRotationSpin);
    EXPECT_EQ(rotation->rangeMin, -180);
    EXPECT_EQ(rotation->rangeMax, 180);
    EXPECT_EQ(Shown().Find(Swash::kFirstTrimSpin + 2)->rangeMax, 50);
    ASSERT_TRUE(Shown().UserSetPos(Swash::kFirstTrimSpin + 2, -12));
    EXPECT_EQ(Box(Swash::kFirstTrim + 2), "-12");
    EXPECT_EQ(Box(Swash::kFirstTrim + 1), "0");
}

TEST_F(HelicopterTest, RcCalibrationHasVerticalSlidersUnderTenDisplayBoxes) {
    Show("Helicopter_RCCal");
    int sliders = 0, boxes = 0;
    for (const ui::Control& c : Shown().Controls()) {
        if (c.kind == ui::ControlKind::Slider) {
            EXPECT_TRUE(c.vertical) << c.id;
            ++sliders;
        }
        if (c.kind == ui::ControlKind::Edit) {
            EXPECT_TRUE(c.readOnly) << c.id;
            EXPECT_EQ(c.text, "0") << c.id;
            ++boxes;
        }
    }
    EXPECT_EQ(sliders, 18);
    EXPECT_EQ(boxes, 10);
    EXPECT_EQ(Box(HeliRcCalibrate::kStart), "Start");
    EXPECT_EQ(Box(HeliRcCalibrate::kCalibrateLabel), "Calibrate:");
    ExpectButtonsGreyedSendingNothing();
}

TEST_F(HelicopterTest, TheGreyedButtonsSayWhyInTheLanguageChosen) {
    dir.Write("config/ZephranFPV/profile.ini", "[Settings]\nLanguage=chinese\n");
    Show("Helicopter_Autopilot");
    ExpectButtonsGreyedSendingNothing("该板卡尚不支持此请求。");
}

TEST_F(HelicopterTest, ALanguageFileWithoutTheTipGivesTheBuiltInEnglish) {
    std::string english =
        ReadWholeFile(ExecutableDir() + "/Language/english.ini", 1 << 20).value_or("");
    const std::size_t section = english.find("[DlgHeli]");
    ASSERT_NE(section, std::string::npos);
    english.erase(section, english.find('[', section + 1) - section);
    dir.Write("app/Language/english.ini", english);
    Show("Helicopter_SwashPlate");
    ExpectButtonsGreyedSendingNothing();
}

TEST_F(HelicopterTest, MountingAndAutopilotButtonsAreGreyedAndSendNothing) {
    Show("Helicopter_Mouting");
    EXPECT_EQ(Box(HeliMounting::kFirstDirection), "X_向前");
    EXPECT_EQ(Shown().Find(HeliMounting::kImuGroup)->text, "IMU安装偏移 (cm)");
    EXPECT_EQ(Shown().Find(HeliMounting::kGpsGroup)->text, "GPS天线安装偏移(cm)");
    EXPECT_EQ(Box(HeliMounting::kFirstImuBox), "");
    ExpectButtonsGreyedSendingNothing();
    dialog->Tree().SelectItem(dialog->Tree().FindKey("Helicopter_Autopilot"));
    ExpectButtonsGreyedSendingNothing();
    dialog->Tree().SelectItem(dialog->Tree().FindKey("Helicopter_SystemCheck"));
    EXPECT_TRUE(Shown().Controls().empty());
}

}  // namespace
}  // namespace zephran
