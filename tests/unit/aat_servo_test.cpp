#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using Dlg = CAATServoSet;
using Bytes = std::vector<std::uint8_t>;
using testing::Floats;

// The tracker's default page, connected to a board in memory.
class AatServoTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AAT_Servo_Set", "AAT");
        ASSERT_EQ(Shown().Id().className, "CAATServoSet");
    }
    void ExpectSent(std::uint8_t msgId, const Bytes& payload) { ExpectLast(11, msgId, payload); }
};

TEST_F(AatServoTest, OffsetsGoOutAsSignedBytesFromSetAndFromEitherSpin) {
    Type(Dlg::kHorizontalOffset, "-5");
    Type(Dlg::kVerticalOffset, "100");
    Click(Dlg::kSetOffsets);
    ExpectSent(19, {0xFB, 0x64});

    ASSERT_TRUE(Shown().UserSetPos(Dlg::kVerticalSpin, 42));
    EXPECT_EQ(Box(Dlg::kVerticalOffset), "42");
    const auto writes = link->written.size();
    ASSERT_TRUE(Shown().UserReleaseSpin(Dlg::kVerticalSpin));
    ASSERT_EQ(link->written.size(), writes + 1);
    ExpectSent(19, {0xFB, 0x2A});
    ASSERT_TRUE(Shown().UserSetPos(Dlg::kHorizontalSpin, -100));
    ASSERT_TRUE(Shown().UserReleaseSpin(Dlg::kHorizontalSpin));
    ExpectSent(19, {0x9C, 0x2A});
}

// A board may report offsets the page refuses on entry: they are shown, and a later Set
// complains and sends nothing until they are corrected.
TEST_F(AatServoTest, OffsetReplyIsSignExtendedAndRangeIsCheckedOnlyOnEntry) {
    Click(Dlg::kReadOffsets);
    ExpectSent(18, {});
    const auto lines = Log().size();
    Receive(11, 18, {0xFF, 0x80});
    EXPECT_EQ(Log().size(), lines + 1);
    EXPECT_EQ(Box(Dlg::kHorizontalOffset), "-1");
    EXPECT_EQ(Box(Dlg::kVerticalOffset), "-128");
    EXPECT_EQ(Shown().GetPos(Dlg::kHorizontalSpin), -1);

    const auto writes = link->written.size();
    Click(Dlg::kSetOffsets);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter an integer between -100 and 100."});
    EXPECT_EQ(Shown().Focus(), Dlg::kVerticalOffset);
    EXPECT_TRUE(Shown().FocusTextSelected());
    EXPECT_EQ(link->written.size(), writes);
    Type(Dlg::kVerticalOffset, "-100");
    Click(Dlg::kSetOffsets);
    ExpectSent(19, {0xFF, 0x9C});
}

// An offset out of range stops every Set of the page, the spins' releases and the power-on
// position too: nothing is taken or sent until it is corrected.
TEST_F(AatServoTest, OutOfRangeEntryStopsEverySetUntilCorrected) {
    Type(Dlg::kHorizontalOffset, "101");
    Type(Dlg::kVerticalOffset, "7");
    Type(Dlg::kStep, "0.5");
    const auto writes = link->written.size();
    Click(Dlg::kSetStep);
    Click(Dlg::kSetPowerOn);
    ASSERT_TRUE(Shown().UserReleaseSpin(Dlg::kVerticalSpin));
    EXPECT_EQ(host.messages, std::vector<std::string>(3, "Enter an integer between -100 and 100."));
    EXPECT_EQ(link->written.size(), writes);
    Click(Dlg::kReadStep);  // a read goes out all the same
    ExpectSent(21, {});
    Type(Dlg::kHorizontalOffset, "100");
    Click(Dlg::kSetStep);
    ExpectSent(22, Floats({0.5f}));
    Click(Dlg::kSetOffsets);
    ExpectSent(19, {0x64, 0x07});
}

TEST_F(AatServoTest, PidGoesOutInOrderAndItsReplyRewritesTheBoxes) {
    Click(Dlg::kSetPid);
    ExpectSent(24, Floats({200, 0, 100, 3, 100}));
    const Bytes sent = Last().payload;
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 4), (Bytes{0x00, 0x00, 0x48, 0x43}));
    Click(Dlg::kDefaultPid);
    ExpectSent(25, {});

    Receive(11, 23, Floats({180, 0.5f, 90, 2.5f, 60}));
    EXPECT_EQ(Box(Dlg::kP), "180");
    EXPECT_EQ(Box(Dlg::kI), "0.5");
    EXPECT_EQ(Box(Dlg::kIntegralThreshold), "2.5");
    EXPECT_EQ(Box(Dlg::kIntegralLimit), "60");
    Receive(11, 23, Bytes(19, 0));  // too short to carry the controller
    EXPECT_EQ(Box(Dlg::kP), "180");
    Type(Dlg::kD, "95");
    Click(Dlg::kSetPid);
    ExpectSent(24, Floats({180, 0.5f, 95, 2.5f, 60}));
}

TEST_F(AatServoTest, StepAndMinimumOutputPoint) {
    Type(Dlg::kServoGap, "x");
    Click(Dlg::kReadServoGap);  // the one button that takes no boxes in
    EXPECT_TRUE(host.messages.empty());
    ExpectSent(32, {});
    Click(Dlg::kReadStep);  // takes the boxes that parse in; the bad one stops nothing
    EXPECT_TRUE(host.messages.empty());
    ExpectSent(21, {});

    Receive(11, 21, Floats({0.75f}));
    EXPECT_EQ(Box(Dlg::kStep), "0.75");
    EXPECT_EQ(Box(Dlg::kServoGap), "0");  // the reply shows the value the page kept
    Receive(11, 32, {0xFD, 0xFF, 0xFF, 0xFF, 0x55});
    EXPECT_EQ(Box(Dlg::kServoGap), "-3");
    Receive(11, 32, {0x01, 0x02});
    EXPECT_EQ(Box(Dlg::kServoGap), "-3");
    Type(Dlg::kServoGap, "258");
    Click(Dlg::kSetServoGap);
    ExpectSent(33, {0x02, 0x01, 0x00, 0x00});
}

TEST_F(AatServoTest, PowerOnPositionAndAcknowledgements) {
    Click(Dlg::kSetPowerOn);
    ExpectSent(17, {0x01});
    Click(Dlg::kPowerOnHorizontal);
    Click(Dlg::kSetPowerOn);
    ExpectSent(17, {0x00});
    Click(Dlg::kDefaultOffsets);
    ExpectSent(20, {});

    Type(Dlg::kStep, "9");
    for (std::uint8_t ack : {17, 19, 20, 22, 24, 25, 33})
        Receive(11, ack);
    EXPECT_EQ(Box(Dlg::kStep), "9");
    EXPECT_EQ(Box(Dlg::kP), "200");
    EXPECT_TRUE(Shown().IsDlgButtonChecked(Dlg::kPowerOnHorizontal));
}

// A box with no integer in it asks for one; the range message is for a number outside it.
TEST_F(AatServoTest, NonNumberOffsetAsksForAnIntegerAndOutOfRangeNamesTheRange) {
    Type(Dlg::kHorizontalOffset, "abc");
    Click(Dlg::kSetOffsets);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter an integer."});
    host.messages.clear();
    Type(Dlg::kHorizontalOffset, "101");
    Click(Dlg::kSetOffsets);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter an integer between -100 and 100."});
}

}  // namespace
}  // namespace zephran
