#include "pages/osd_tracker/mag_cal_dlg.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using Dlg = CMagCalDlg;
using Bytes = std::vector<std::uint8_t>;
using testing::Floats;

class AatCompassTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AAT_Mag_Cal", "AAT");
        ASSERT_EQ(Shown().Id().className, "CMagCalDlg");
    }
    void ExpectSent(std::uint8_t msgId, const Bytes& payload) { ExpectLast(11, msgId, payload); }
    std::vector<std::string> Boxes(std::initializer_list<int> ids) const {
        std::vector<std::string> texts;
        for (int id : ids)
            texts.push_back(dialog->Pages().Find("AAT_Mag_Cal")->GetDlgItemText(id));
        return texts;
    }
    std::vector<std::string> Readings() const {
        return Boxes({Dlg::kXValue, Dlg::kYValue, Dlg::kXMin, Dlg::kYMin, Dlg::kXMax, Dlg::kYMax});
    }
    std::vector<std::string> Calibration() const {
        return Boxes({Dlg::kXOffset, Dlg::kYOffset, Dlg::kXScale, Dlg::kYScale});
    }
};

TEST_F(AatCompassTest, EachButtonSendsItsRequestWithTheEditableValues) {
    Click(Dlg::kSetSpeed);
    ExpectSent(6, {0x00, 0x00, 0x7A, 0x45});  // 4000 before any read
    Type(Dlg::kSpeed, "2500");
    Click(Dlg::kSetSpeed);
    ExpectSent(6, Floats({2500}));
    Type(Dlg::kCompassOffset, "-3.5");
    Click(Dlg::kSetCompassOffset);
    ExpectSent(8, Floats({-3.5f}));
    Click(Dlg::kReadSpeed);
    ExpectSent(5, {});
    Click(Dlg::kBeginCal);
    ExpectSent(1, {});
    Click(Dlg::kReadCalibration);
    ExpectSent(3, {});
    Click(Dlg::kDefaultCalibration);
    ExpectSent(4, {});
    Click(Dlg::kReadCompassOffset);
    ExpectSent(7, {});
    EXPECT_TRUE(host.messages.empty());
}

// A read takes the boxes that parse in first and goes out whatever the others hold; a Set
// with a bad box anywhere on the page is reported and sends nothing.
TEST_F(AatCompassTest, ABadBoxStopsASetButNoRead) {
    Type(Dlg::kSpeed, "2500");
    Type(Dlg::kCompassOffset, "east");
    Click(Dlg::kReadCompassOffset);
    EXPECT_TRUE(host.messages.empty());
    ExpectSent(7, {});
    // The reply rewrites every box: the speed typed was taken in by the read and stays.
    Receive(11, 7, Floats({9}));
    EXPECT_EQ(Box(Dlg::kCompassOffset), "9");
    EXPECT_EQ(Box(Dlg::kSpeed), "2500");

    Type(Dlg::kCompassOffset, "west");
    const auto writes = link->written.size();
    Click(Dlg::kSetSpeed);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter a number."});
    EXPECT_EQ(Shown().Focus(), Dlg::kCompassOffset);
    EXPECT_EQ(link->written.size(), writes);
    Click(Dlg::kBeginCal);  // carries no values
    ExpectSent(1, {});
    host.messages.clear();
    Type(Dlg::kCompassOffset, "2");
    Click(Dlg::kSetSpeed);
    EXPECT_TRUE(host.messages.empty());
    ExpectSent(6, Floats({2500}));
}

TEST_F(AatCompassTest, RepliesFillTheirBoxesUsingXAndYOnly) {
    Receive(11, 0, Floats({1, 2, 99, -3, -4, 99, 5, 6, 99}));
    EXPECT_EQ(Readings(), (std::vector<std::string>{"1", "2", "-3", "-4", "5", "6"}));
    Receive(11, 3, Floats({12.5f, -7, 99, 1.25f, 0.75f, 99}));
    EXPECT_EQ(Calibration(), (std::vector<std::string>{"12.5", "-7", "1.25", "0.75"}));
    Receive(11, 5, Floats({1234}));
    EXPECT_EQ(Box(Dlg::kSpeed), "1234");
    Receive(11, 7, Floats({-2.5f}));
    EXPECT_EQ(Box(Dlg::kCompassOffset), "-2.5");
    EXPECT_EQ(Log().back(), "AAT Read Compass Offset OK");
    Click(Dlg::kSetSpeed);
    ExpectSent(6, Floats({1234}));
}

// The tracker reports while it turns, whichever page is shown.
TEST_F(AatCompassTest, TrackerReportsRefreshThePageWhenItIsNotShown) {
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AAT_Servo_Set"));
    ASSERT_NE(dialog->Pages().Shown()->Id().treeKey, "AAT_Mag_Cal");
    Receive(11, 0, Floats({10, 20, 0, -30, -40, 0, 50, 60, 0}));
    EXPECT_EQ(Readings(), (std::vector<std::string>{"10", "20", "-30", "-40", "50", "60"}));
}

TEST_F(AatCompassTest, ShortRepliesChangeNothingAndExtraBytesAreIgnored) {
    Receive(11, 0, Floats({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    Receive(11, 3, Floats({1, 2, 3, 4, 5, 6}));
    Receive(11, 5, Floats({100}));
    Receive(11, 7, Floats({7}));
    const auto readings = Readings();
    const auto calibration = Calibration();

    Bytes shortMag = Floats({11, 12, 13, 14, 15, 16, 17, 18, 19});
    shortMag.pop_back();
    Receive(11, 0, shortMag);
    Receive(11, 3, Floats({21, 22, 23, 24, 25}));
    Receive(11, 5, {0x00, 0x00, 0x7A});
    Receive(11, 7, {});
    EXPECT_EQ(Readings(), readings);
    EXPECT_EQ(Calibration(), calibration);
    EXPECT_EQ(Box(Dlg::kSpeed), "100");
    EXPECT_EQ(Box(Dlg::kCompassOffset), "7");
    Click(Dlg::kSetSpeed);
    ExpectSent(6, Floats({100}));  // nor did the record take the short reply's bytes

    Receive(11, 5, Floats({300, 400}));
    EXPECT_EQ(Box(Dlg::kSpeed), "300");
    Receive(11, 7, Floats({8, 9}));
    EXPECT_EQ(Box(Dlg::kCompassOffset), "8");
    EXPECT_EQ(dialog->Records().aatCompassOffset, 8);
    EXPECT_EQ(dialog->Records().aatStatus.pitch, 0);  // the next record is untouched
}

}  // namespace
}  // namespace zephran
