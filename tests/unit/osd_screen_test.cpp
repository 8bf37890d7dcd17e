#include "pages/osd_tracker/dlg_osd.h"
#include "support/bytes.h"
#include "support/dialog_fixture.h"

namespace zephran {
namespace {

// The OSD product's default page, connected to a board in memory.
class OsdScreenTest : public testing::DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        WriteConfig("[ProductSetting]\nProduct=Vantrel\n");
        devices.AddDevice("/dev/ttyUSB0", true);
        Start();
        Advance(1000);
        ASSERT_TRUE(dialog->Session().Connected());
        ASSERT_EQ(dialog->Pages().Shown()->Id().className, "COSD");
    }
    Page& Osd() { return *dialog->Pages().Shown(); }
    const COSD::Choice& Choice(int index) {
        return COSD::kChoices[static_cast<std::size_t>(index)];
    }
    std::vector<std::uint8_t> LastWritten() const { return link->written.back(); }
    void Set(int choice) { ASSERT_TRUE(Osd().UserClick(Choice(choice).set)); }
};

TEST_F(OsdScreenTest, InitialChoicesGoOutUnchanged) {
    Set(1);
    EXPECT_EQ(LastWritten(), testing::FakeLink::Frame(13, 2, {0x01}));
    Set(0);
    EXPECT_EQ(LastWritten(), testing::FakeLink::Frame(13, 1, {0x00}));
}

TEST_F(OsdScreenTest, EachSetSendsOnlyItsOwnChoice) {
    ASSERT_TRUE(Osd().UserClick(Choice(1).firstRadio + 2));  // sky radar
    ASSERT_TRUE(Osd().UserClick(Choice(2).firstRadio + 2));  // knots
    const auto writes = link->written.size();
    Set(2);
    ASSERT_EQ(link->written.size(), writes + 1);
    EXPECT_EQ(LastWritten(), testing::FakeLink::Frame(13, 3, {0x02}));
    Set(1);
    EXPECT_EQ(LastWritten(), testing::FakeLink::Frame(13, 2, {0x02}));
    ASSERT_TRUE(Osd().UserClick(Choice(5).firstRadio + 1));
    Set(5);
    EXPECT_EQ(LastWritten(), testing::FakeLink::Frame(13, 6, {0x01}));
}

TEST_F(OsdScreenTest, AcknowledgementsAreLoggedAndChangeNothing) {
    ASSERT_TRUE(Osd().UserClick(Choice(3).firstRadio + 1));
    Receive(13, 4);
    EXPECT_EQ(Log().back(),
              Text("Communicate State", "Set RSSI Mode") + Text("Communicate State", "Succeed"));
    EXPECT_TRUE(Osd().IsDlgButtonChecked(Choice(3).firstRadio + 1));
    EXPECT_EQ(Osd().GetDlgItemText(Choice(0).set), Text("DlgOSD", "m_ButtonSet"));
}

}  // namespace
}  // namespace zephran
