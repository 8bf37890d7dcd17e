#include <string>
#include <vector>

#include "pages/autopilot/dlg_airplane_outer_loop.h"
#include "pages/autopilot/dlg_airplane_pid_inner_loop.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using P = CDlgAirplanePID;
using Bytes = std::vector<std::uint8_t>;

// A PID set record: leading byte, total P, P, I, D, then the six limits tail, 2 tail, ... 6 tail.
Bytes PidSet(std::uint8_t leading, float totalP, std::uint8_t p, std::uint8_t i, std::uint8_t d,
             float tail = 0) {
    PayloadBuilder b;
    b.U8(leading).Float(totalP).U8(p).U8(i).U8(d);
    for (int k = 0; k < 6; ++k)
        b.Float(tail * static_cast<float>(k + 1));
    return b.bytes;
}

class AirplanePidTest : public testing::PageFixture {
protected:
    void Open(const char* treeKey, const P::Table& table) {
        table_ = &table;
        ShowPage(treeKey, "Standard");
    }
    const P::Controller& C(std::size_t k) const { return table_->controllers[k]; }
    int BoxOf(std::size_t k, P::Field f) const { return C(k).Box(f); }
    std::string Box(std::size_t k, P::Field f) const { return PageFixture::Box(BoxOf(k, f)); }
    P& Page() { return static_cast<P&>(Shown()); }

    const P::Table* table_ = nullptr;
};

class AirplanePidInner : public AirplanePidTest {
protected:
    void SetUp() override {
        AirplanePidTest::SetUp();
        Open("Airplane_PID_Inner", CDlgAirplanePIDInnerLoop::kTable);
    }
};

TEST_F(AirplanePidInner, WriteEchoesTheLeadingByteOfTheLastReadOnly) {
    Click(C(0).WriteButton());
    EXPECT_EQ(Last().msgId, 2);
    EXPECT_EQ(Last().payload, Bytes(32, 0));

    Click(C(0).ReadButton());
    EXPECT_EQ(Last().msgId, 1);
    EXPECT_TRUE(Last().payload.empty());
    Receive(18, 1, PidSet(0x5A, 1.5f, 10, 20, 30, 100));
    Type(BoxOf(0, P::kD), "31");
    Click(C(0).WriteButton());
    EXPECT_EQ(Last().payload, PidSet(0x5A, 1.5f, 10, 20, 31, 100));
    // Another controller's record keeps its own leading byte.
    Click(C(1).WriteButton());
    EXPECT_EQ(Last().msgId, 5);
    EXPECT_EQ(Last().payload[0], 0);
}

TEST_F(AirplanePidInner, ReadReplyShowsSixDigitsAndRewritesEveryBox) {
    Type(BoxOf(4, P::kTotalP), "9");
    PayloadBuilder b;
    b.U8(1).Float(3.14159265f).U8(255).U8(0).U8(7).Float(1e-7f).Float(123456789.0f);
    b.Float(-0.5f).Float(2.0f).Float(0.1f).Float(1e6f);
    Receive(18, 4, b.bytes);
    const std::vector<std::string> shown{"3.14159",     "255",  "0", "7",   "1e-07",
                                         "1.23457e+08", "-0.5", "2", "0.1", "1e+06"};
    for (int f = 0; f < P::kFieldCount; ++f)
        EXPECT_EQ(Box(1, static_cast<P::Field>(f)), shown[f]) << f;
    // Typed but not written: replaced by the stored value.
    EXPECT_EQ(Box(4, P::kTotalP), "0");
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_STANDARDOSD_PID_PITCHRATE2ELEV_READ") +
                                Text("Communicate State", "Succeed"));
}

// Every box of the page is checked before any is taken, also those of the other controllers.
TEST_F(AirplanePidInner, BadBoxAnywhereOnThePageWritesNothing) {
    Type(BoxOf(3, P::kP), "255");
    Click(C(3).WriteButton());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Last().payload[5], 255);

    Type(BoxOf(0, P::kTotalP), "2.5");
    Type(BoxOf(0, P::kI), "256");
    Type(BoxOf(0, P::kD), "4");
    Type(BoxOf(3, P::kP), "12");
    const auto writes = link->written.size();
    Click(C(3).WriteButton());
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter an integer between 0 and 255."});
    EXPECT_EQ(Shown().Focus(), BoxOf(0, P::kI));
    EXPECT_EQ(link->written.size(), writes);
    EXPECT_EQ(Page().Set(0).Value("totalP").number, 0);
    EXPECT_EQ(Page().Set(3).Value("p").number, 255);

    host.messages.clear();
    for (const char* bad : {"-1", "1.5", "x"}) {
        Type(BoxOf(0, P::kI), bad);
        Click(C(0).WriteButton());
    }
    Type(BoxOf(0, P::kI), "3");
    Type(BoxOf(5, P::kOutMax), "lots");
    Click(C(0).WriteButton());
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"Enter an integer between 0 and 255.",
                                        "Enter an integer between 0 and 255.",
                                        "Enter an integer between 0 and 255.", "Enter a number."}));
    EXPECT_EQ(Shown().Focus(), BoxOf(5, P::kOutMax));
    EXPECT_EQ(link->written.size(), writes);
    Type(BoxOf(5, P::kOutMax), "0");
    Click(C(0).WriteButton());
    EXPECT_EQ(Last().msgId, 2);
    EXPECT_EQ(Last().payload, PidSet(0, 2.5f, 0, 3, 4));
    Click(C(3).WriteButton());
    EXPECT_EQ(Last().payload[5], 12);
}

TEST_F(AirplanePidInner, ShortReplyKeepsTheRecordsTailAndLongOneIsCut) {
    Receive(18, 16, PidSet(7, 1, 2, 3, 4, 10));
    // Another frame leaves other bytes in the receive area; they must not get into the record.
    Receive(18, 2, Bytes(40, 0xEE));
    Receive(18, 16, PayloadBuilder().U8(8).Float(6.0f).bytes);
    EXPECT_EQ(Box(5, P::kTotalP), "6");
    EXPECT_EQ(Box(5, P::kP), "2");
    EXPECT_EQ(Box(5, P::kOutMax), "60");
    Bytes longer = PidSet(9, 1, 1, 1, 1);
    longer.resize(48, 0xEE);
    Receive(18, 16, longer);
    Click(C(5).WriteButton());
    EXPECT_EQ(Last().payload, PidSet(9, 1, 1, 1, 1));
}

TEST_F(AirplanePidInner, WriteAndDefaultRepliesOnlyClearTheirRequest) {
    Click(C(2).DefaultButton());
    EXPECT_EQ(Last().msgId, 9);
    EXPECT_TRUE(Last().payload.empty());
    const std::size_t logged = Log().size();
    Receive(18, 9, PidSet(1, 5, 5, 5, 5));
    Receive(18, 8, PidSet(1, 5, 5, 5, 5));
    EXPECT_TRUE(dialog->Session().Pending().empty());
    EXPECT_EQ(Log().size(), logged + 2);
    EXPECT_EQ(Box(2, P::kP), "0");
    Click(C(2).WriteButton());
    EXPECT_EQ(Last().payload, Bytes(32, 0));
}

class AirplanePidOuter : public AirplanePidTest {
protected:
    void SetUp() override {
        AirplanePidTest::SetUp();
        Open("Airplane_PID_Outer", CDlgAirplaneOuterLoop::kTable);
    }
};

TEST_F(AirplanePidOuter, ControllerKUsesMessages18Plus3kMinus2To18Plus3k) {
    for (std::size_t k = 0; k < 6; ++k) {
        const int read = 18 + 3 * static_cast<int>(k + 1) - 2;
        Click(C(k).ReadButton());
        EXPECT_EQ(Last().msgId, read);
        EXPECT_TRUE(Last().payload.empty());
        Receive(18, static_cast<std::uint8_t>(read),
                PidSet(0x40, 1, 2, 3, static_cast<std::uint8_t>(k)));
        EXPECT_EQ(Box(k, P::kD), std::to_string(k));
        Click(C(k).WriteButton());
        EXPECT_EQ(Last().msgId, read + 1);
        EXPECT_EQ(Last().payload, PidSet(0x40, 1, 2, 3, static_cast<std::uint8_t>(k)));
        Click(C(k).DefaultButton());
        EXPECT_EQ(Last().msgId, read + 2);
        EXPECT_TRUE(Last().payload.empty());
    }
}

TEST_F(AirplanePidOuter, InnerAndUnroutedRepliesLeaveThisPage) {
    Receive(18, 16, PidSet(1, 4, 4, 4, 4));
    Receive(18, 35, PidSet(1, 5, 5, 5, 5));
    Receive(18, 36, PidSet(1, 6, 6, 6, 6));
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_EQ(Box(k, P::kP), "0") << k;
    const auto& inner = *dialog->Pages().Find("Airplane_PID_Inner");
    EXPECT_EQ(inner.GetDlgItemText(CDlgAirplanePIDInnerLoop::kTable.controllers[5].Box(P::kP)),
              "4");
    Receive(18, 19, PidSet(1, 7, 7, 7, 7));
    EXPECT_EQ(Box(0, P::kP), "7");
    EXPECT_EQ(Box(1, P::kP), "0");
}

}  // namespace
}  // namespace zephran
