#include "pages/ahrs/dlg_ahrs.h"
#include "support/page_fixture.h"
#include "views/live_views.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;

std::vector<std::uint8_t> Live(std::vector<float> values, std::uint8_t flags = 5) {
    PayloadBuilder b;
    b.U8(flags);
    values.resize(12, 0.0f);
    for (float v : values)
        b.Float(v);
    return b.bytes;
}

class AhrsViewTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AHRS_View");
    }
    CDlgAHRS& View() { return static_cast<CDlgAHRS&>(*dialog->Pages().Find("AHRS_View")); }
};

TEST_F(AhrsViewTest, LiveTextRoundsIntoFixedFields) {
    Receive(15, 1, Live({12.34f, -5.0f, 359.96f, 1, 2, 3, 0, 0, 1, 30, 40, 0}));
    const std::string text = Box(CDlgAHRS::kLiveText);
    EXPECT_NE(text.find(" Flags: 5 \r\n"), std::string::npos);
    EXPECT_NE(text.find(" Roll:    12.3 \r\n"), std::string::npos);
    EXPECT_NE(text.find(" Pitch:   -5.0 \r\n"), std::string::npos);
    EXPECT_NE(text.find(" Yaw:    360.0 \r\n"), std::string::npos);
    EXPECT_NE(text.find(" gz:      3.00 \r\n"), std::string::npos);
    EXPECT_NE(text.find(" ANorm:    1.000 \r\n"), std::string::npos);
    EXPECT_NE(text.find(" MNorm:     50.0 \r\n"), std::string::npos);
    // Live data is not logged.
    EXPECT_EQ(Log().back().find(Text("Communicate State", "DL_ID_AHRS_DATE_COME")),
              std::string::npos);
}

TEST_F(AhrsViewTest, HiddenPageKeepsItsTextUntilTheNextFrameWhileShown) {
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AHRS_Set"));
    Receive(15, 1, Live({1.0f}));
    EXPECT_NE(View().liveText.find("Roll:     1.0"), std::string::npos);
    EXPECT_EQ(View().GetDlgItemText(CDlgAHRS::kLiveText), "");
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AHRS_View"));
    EXPECT_EQ(Box(CDlgAHRS::kLiveText), "");
    Receive(15, 1, Live({2.0f}));
    EXPECT_NE(Box(CDlgAHRS::kLiveText).find("Roll:     2.0"), std::string::npos);
}

TEST_F(AhrsViewTest, ShortFrameUpdatesOnlyTheLeadingFields) {
    Receive(15, 1, Live({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    Receive(15, 1, PayloadBuilder().U8(9).Float(-1.0f).bytes);
    const AhrsLiveRecord& live = dialog->Records().ahrsLive;
    EXPECT_EQ(live.flags, 9);
    EXPECT_FLOAT_EQ(live.roll, -1.0f);
    EXPECT_FLOAT_EQ(live.pitch, 2.0f);
    EXPECT_FLOAT_EQ(live.mz, 12.0f);
}

TEST_F(AhrsViewTest, ResetAndHeadingReference) {
    Click(CDlgAHRS::kReset);
    EXPECT_EQ(Last().msgId, 2);
    EXPECT_TRUE(Last().payload.empty());
    Receive(15, 1, Live({0, 0, 123.5f}));
    views::LiveViews& views = *dialog->Views();
    // Follows the yaw only while the 3-D view is open, not the position view.
    Click(CDlgAHRS::kPositionView);
    Click(CDlgAHRS::kHeadingToYaw);
    EXPECT_FLOAT_EQ(views.HeadingReference(), 0.0f);
    Click(CDlgAHRS::kAttitudeView);
    Click(CDlgAHRS::kHeadingToYaw);
    EXPECT_FLOAT_EQ(views.HeadingReference(), 123.5f);
    // It is kept when the view closes; the magnetic-north button clears it at any time.
    views.CloseView(views::ViewKind::Attitude);
    EXPECT_FLOAT_EQ(views.HeadingReference(), 123.5f);
    Click(CDlgAHRS::kHeadingToZero);
    EXPECT_FLOAT_EQ(views.HeadingReference(), 0.0f);
}

TEST_F(AhrsViewTest, LanguageGivesTheButtonCaptions) {
    EXPECT_EQ(Box(CDlgAHRS::kReset), Text("DlgAHRS", "m_ResetAHRS"));
    // Its section has no title: the page is headed by its tree text.
    EXPECT_EQ(Shown().GetWindowText(), Text("Tree", "AHRS_View"));
}

}  // namespace
}  // namespace zephran
