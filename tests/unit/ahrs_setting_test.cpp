#include "pages/ahrs/dlg_ahrs_setting.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;

class AhrsSettingTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AHRS_Set");
    }
    static std::vector<std::uint8_t> Params(std::uint8_t leading, double q, double ra, double rm) {
        return PayloadBuilder().U8(leading).Double(q).Double(ra).Double(rm).bytes;
    }
};

TEST_F(AhrsSettingTest, WriteBeforeAnyReadSendsConstructionValuesAndLeadingZero) {
    Click(CDlgAHRSSetting::kWrite);
    EXPECT_EQ(Last().msgId, 33);
    EXPECT_EQ(Last().payload, Params(0, 1e-7, 0.00001, 1e-7));
}

TEST_F(AhrsSettingTest, ReadReplyFillsTheBoxesAndItsLeadingByteGoesBack) {
    Click(CDlgAHRSSetting::kRead);
    EXPECT_EQ(Last().msgId, 32);
    EXPECT_TRUE(Last().payload.empty());
    Receive(15, 32, Params(3, 0.25, 2e-6, 1.5));
    EXPECT_EQ(Box(CDlgAHRSSetting::kGyroNoise), "0.25");
    EXPECT_EQ(Box(CDlgAHRSSetting::kAccNoise), "2e-06");
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_MINIAHRS_READ_QR_PARA") +
                                Text("Communicate State", "Succeed"));
    Type(CDlgAHRSSetting::kCompassNoise, "0.125");
    Click(CDlgAHRSSetting::kWrite);
    EXPECT_EQ(Last().payload, Params(3, 0.25, 2e-6, 0.125));
}

TEST_F(AhrsSettingTest, BadBoxWritesNothingUntilCorrected) {
    Type(CDlgAHRSSetting::kGyroNoise, "0.5");
    Type(CDlgAHRSSetting::kAccNoise, "lots");
    Type(CDlgAHRSSetting::kCompassNoise, "0.75");
    const auto writes = link->written.size();
    Click(CDlgAHRSSetting::kWrite);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter a number."});
    EXPECT_EQ(Shown().Focus(), CDlgAHRSSetting::kAccNoise);
    EXPECT_TRUE(Shown().FocusTextSelected());
    EXPECT_EQ(link->written.size(), writes);
    Type(CDlgAHRSSetting::kAccNoise, "0.25");
    Click(CDlgAHRSSetting::kWrite);
    EXPECT_EQ(Last().payload, Params(0, 0.5, 0.25, 0.75));
}

TEST_F(AhrsSettingTest, ShortReplyKeepsTheRecordsOwnTail) {
    Receive(15, 32, Params(1, 0.5, 0.25, 0.125));
    // A long frame leaves other bytes in the receive area; a short read reply must not pick
    // them up.
    Receive(15, 1, std::vector<std::uint8_t>(49, 0xEE));
    Receive(15, 32, PayloadBuilder().U8(2).Double(4.0).bytes);
    EXPECT_EQ(Box(CDlgAHRSSetting::kGyroNoise), "4");
    EXPECT_EQ(Box(CDlgAHRSSetting::kAccNoise), "0.25");
    EXPECT_EQ(Box(CDlgAHRSSetting::kCompassNoise), "0.125");
}

TEST_F(AhrsSettingTest, HiddenPageIsRefreshedByTheReplyAndDefaultSendsNothingElse) {
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AHRS_View"));
    Receive(15, 32, Params(1, 7.0, 8.0, 9.0));
    EXPECT_EQ(dialog->Pages().Find("AHRS_Set")->GetDlgItemText(CDlgAHRSSetting::kCompassNoise),
              "9");
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AHRS_Set"));
    Click(CDlgAHRSSetting::kDefault);
    EXPECT_EQ(Last().msgId, 34);
    EXPECT_TRUE(Last().payload.empty());
    EXPECT_EQ(dialog->Session().Pending().size(), 1u);
    Receive(15, 34);
    EXPECT_TRUE(dialog->Session().Pending().empty());
}

}  // namespace
}  // namespace zephran
