#include "pages/osd_tracker/dlg_aat_communicate.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using Dlg = CDlg_AAT_Communicate;

TEST(TrackerStatusText, ConvertsEachFieldThroughSinglePrecision) {
    // 22.5431234 is not a single-precision number: its last digits print as the float holds it.
    const AatStatusRecord status{300, -100, 225431234, -1139472100, -5};
    EXPECT_EQ(FormatTrackerStatus(status),
              " Pitch:   3.00 \r\n Yaw:   -1.00 \r\n Lat:     22.5431232 \r\n Lon:    "
              "-113.9472122 \r\n Alt:     -5 \r\n");
    const AatStatusRecord extremes{-32768, 32767, 900000000, 1800000000, 32767};
    EXPECT_EQ(FormatTrackerStatus(extremes),
              " Pitch: -327.68 \r\n Yaw:  327.67 \r\n Lat:     90.0000000 \r\n Lon:    "
              "180.0000000 \r\n Alt:     32767 \r\n");
}

class AatLiveDataTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AAT_Mag_Cal", "AAT");
    }
    Page& LiveData() const { return *dialog->Pages().Find("AAT_Communicate"); }
    std::string Received() const { return LiveData().GetDlgItemText(Dlg::kReceived); }
};

// Bytes 2C 01 and 9C FF; the text follows whichever page is shown.
TEST_F(AatLiveDataTest, EveryStatusFrameReplacesTheText) {
    EXPECT_EQ(Received(), "");
    const auto lines = Log().size();
    Receive(11, 11, {0x2C, 0x01, 0x9C, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFB, 0xFF});
    EXPECT_EQ(Log().size(), lines + 1);
    EXPECT_EQ(Received(), FormatTrackerStatus({300, -100, 0, 0, -5}));
    EXPECT_EQ(static_cast<Dlg&>(LiveData()).Text(), Received());
}

// A longer payload is cut at 14 bytes; a shorter one keeps the record's tail.
TEST_F(AatLiveDataTest, StatusIsCopiedBoundedByItsRecord) {
    std::vector<std::uint8_t> longer(20, 0x01);
    Receive(11, 11, longer);
    const AatStatusRecord& kept = dialog->Records().aatStatus;
    EXPECT_EQ(kept.altitude, 0x0101);
    Receive(11, 11, {0x2C, 0x01});
    EXPECT_EQ(kept.pitch, 300);
    EXPECT_EQ(kept.yaw, 0x0101);
    EXPECT_EQ(Received(), FormatTrackerStatus({300, 0x0101, 0x01010101, 0x01010101, 0x0101}));
}

// The audio choice and its buttons are there to see, and do nothing.
TEST_F(AatLiveDataTest, AudioControlsSendNothing) {
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AAT_Communicate"));
    const auto writes = link->written.size();
    for (int id : {Dlg::kAudioYes, Dlg::kAudioNo, Dlg::kRead, Dlg::kWrite})
        Click(id);
    EXPECT_EQ(link->written.size(), writes);
    EXPECT_EQ(Received(), "");
    EXPECT_EQ(LiveData().Find(Dlg::kAudioGroup)->text, "Audio Data Enable");
    EXPECT_EQ(LiveData().Find(Dlg::kReceiveGroup)->text, "Data Receive");
}

}  // namespace
}  // namespace zephran
