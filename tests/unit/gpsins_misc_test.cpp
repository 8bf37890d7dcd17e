#include "pages/autopilot/dlg_gpsins_setting_misc.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using Dlg = CDlgGPSINSSettingMisc;
using Bytes = std::vector<std::uint8_t>;

class GpsInsMiscTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("GPSINS_Set_Misc", "GPSINS");
    }
    bool Checked(Dlg::Choice choice, int index) {
        return Shown().IsDlgButtonChecked(Dlg::kFirstRadio[choice] + index);
    }
    Bytes Written() {
        Click(Dlg::kWrite);
        EXPECT_EQ(Last().group, 16);
        EXPECT_EQ(Last().msgId, 8);
        return Last().payload;
    }
};

TEST_F(GpsInsMiscTest, StartsAtGpsInsModeWithEveryUpdateEnabled) {
    EXPECT_TRUE(Checked(Dlg::kDirection, 0));
    EXPECT_TRUE(Checked(Dlg::kRunningMode, 2));
    EXPECT_TRUE(Checked(Dlg::kCompassUpdate, 0));
    EXPECT_EQ(Written(), (Bytes{0, 0, 2, 0, 0, 0, 0}));
    Click(Dlg::kRead);
    EXPECT_EQ(Last().msgId, 7);
    EXPECT_TRUE(Last().payload.empty());
}

TEST_F(GpsInsMiscTest, ReadReplySetsEachGroupFromItsByteCompassBeforeAcceleration) {
    Receive(16, 7, {0x31, 5, 1, 1, 0, 1, 0});
    // The disabled inverted-X-right button is checked; the user cannot pick it but it goes back.
    EXPECT_TRUE(Checked(Dlg::kDirection, 5));
    EXPECT_FALSE(Shown().Find(Dlg::kFirstRadio[Dlg::kDirection] + 5)->enabled);
    EXPECT_TRUE(Shown().Find(Dlg::kFirstRadio[Dlg::kDirection] + 3)->enabled);
    EXPECT_TRUE(Checked(Dlg::kRunningMode, 1));
    EXPECT_TRUE(Checked(Dlg::kHorizontalVelocity, 1));
    EXPECT_TRUE(Checked(Dlg::kVerticalVelocity, 0));
    EXPECT_TRUE(Checked(Dlg::kCompassUpdate, 1));
    EXPECT_TRUE(Checked(Dlg::kAccelerationUpdate, 0));
    EXPECT_NE(Log().back().find(Text("Communicate State", "DL_GPSINS_MISC_READ")),
              std::string::npos);
    EXPECT_EQ(Written(), (Bytes{0x31, 5, 1, 1, 0, 1, 0}));

    Click(Dlg::kFirstRadio[Dlg::kAccelerationUpdate] + 1);
    Click(Dlg::kFirstRadio[Dlg::kDirection] + 2);
    EXPECT_EQ(Written(), (Bytes{0x31, 2, 1, 1, 0, 1, 1}));
}

TEST_F(GpsInsMiscTest, ShortReplyKeepsTheRestOfTheRecordNotStaleFrameBytes) {
    Receive(16, 7, {0x31, 1, 1, 1, 1, 1, 1});
    Receive(16, 3, Bytes(78, 0xEE));
    Receive(16, 7, {0x32, 3});
    EXPECT_TRUE(Checked(Dlg::kDirection, 3));
    EXPECT_TRUE(Checked(Dlg::kRunningMode, 1));
    EXPECT_EQ(Written(), (Bytes{0x32, 3, 1, 1, 1, 1, 1}));
}

TEST_F(GpsInsMiscTest, AValueWithoutAButtonGoesBackUnchanged) {
    Receive(16, 7, {0x31, 0, 9, 0, 0, 0, 0});
    for (int index = 0; index < 3; ++index)
        EXPECT_FALSE(Checked(Dlg::kRunningMode, index));
    EXPECT_EQ(Written(), (Bytes{0x31, 0, 9, 0, 0, 0, 0}));
}

TEST_F(GpsInsMiscTest, LanguageGivesTheCaptions) {
    EXPECT_EQ(Box(Dlg::kFirstRadio[Dlg::kRunningMode]),
              Text("DlgGPSINSSettingMisc", "IDC_RADIO_RUNNING_MODE_PREDICONLY"));
    EXPECT_EQ(Shown().GetWindowText(), Text("DlgGPSINSSettingMisc", "Title"));
}

}  // namespace
}  // namespace zephran
