#include "pages/ahrs/dlg_fir.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;

// A FIR record: leading byte, taps and 32 coefficients.
std::vector<std::uint8_t> Fir(std::uint8_t leading, std::uint8_t taps, std::vector<int> coefs) {
    PayloadBuilder b;
    b.U8(leading).U8(taps);
    coefs.resize(32, 0);
    for (int c : coefs)
        b.I16(static_cast<std::int16_t>(c));
    return b.bytes;
}

class FirTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AHRS_Set_FIR");
    }
    const CDlgFIR::Column& Gyro() const { return CDlgFIR::kColumns[CDlgFIR::kGyro]; }
    const CDlgFIR::Column& Acc() const { return CDlgFIR::kColumns[CDlgFIR::kAcc]; }
};

TEST(FirCoefficients, TokenRules) {
    std::int16_t c[32] = {};
    EXPECT_EQ(ParseFirCoefficients("1,,2", c), 2u);
    EXPECT_EQ(c[0], 1);
    EXPECT_EQ(c[1], 2);
    EXPECT_EQ(ParseFirCoefficients(",\n -7x, abc ,40000,", c), 3u);
    EXPECT_EQ(c[0], -7);
    EXPECT_EQ(c[1], 0);
    EXPECT_EQ(c[2], 40000 - 65536);
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += std::to_string(i) + ",";
    EXPECT_EQ(ParseFirCoefficients(many, c), 32u);
    EXPECT_EQ(c[31], 31);
}

TEST_F(FirTest, CoefficientsBeyondTheTapCountGoOutAsZero) {
    Type(Gyro().taps, "3");
    Type(Gyro().coefficients, "10,20,30,40");
    Click(Gyro().write);
    EXPECT_EQ(Last().msgId, 38);
    EXPECT_EQ(Last().payload, Fir(0, 3, {10, 20, 30}));
}

TEST_F(FirTest, UntouchedCoefficientsKeepTheLastReadValues) {
    Receive(15, 48, Fir(7, 32, std::vector<int>(32, 9)));
    EXPECT_EQ(Box(Acc().taps), "32");
    EXPECT_EQ(Box(Acc().coefficients).substr(0, 8), "9,9,9,9,");
    Type(Acc().taps, "5");
    Type(Acc().coefficients, "1,2");
    Click(Acc().write);
    EXPECT_EQ(Last().msgId, 41);
    EXPECT_EQ(Last().payload, Fir(7, 5, {1, 2, 9, 9, 9}));
}

TEST_F(FirTest, ZeroTapsSendTheRecordAsItStands) {
    Receive(15, 39, Fir(1, 2, {5, 6}));
    Type(Gyro().taps, "0");
    Type(Gyro().coefficients, "100,200");
    Click(Gyro().write);
    EXPECT_EQ(Last().payload, Fir(1, 0, {5, 6}));
}

TEST_F(FirTest, BadTapCountsSendNothing) {
    const auto writes = link->written.size();
    Type(Gyro().taps, "33");
    Click(Gyro().write);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Err Taps"});
    Type(Gyro().taps, "-1");
    Click(Gyro().write);
    EXPECT_EQ(link->written.size(), writes);
}

// Another filter's bad taps box stops this filter's write too: nothing is taken or sent.
TEST_F(FirTest, NonNumberInATapsBoxWritesNothing) {
    Receive(15, 51, Fir(2, 4, {1, 2, 3, 4}));
    Type(Gyro().taps, "many");
    Type(CDlgFIR::kColumns[CDlgFIR::kMag].coefficients, "8,8,8,8");
    const auto writes = link->written.size();
    Click(CDlgFIR::kColumns[CDlgFIR::kMag].write);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter an integer."});
    EXPECT_EQ(Shown().Focus(), Gyro().taps);
    EXPECT_EQ(link->written.size(), writes);
    EXPECT_EQ(Box(CDlgFIR::kColumns[CDlgFIR::kMag].coefficients), "8,8,8,8");
    Type(Gyro().taps, "0");
    Click(CDlgFIR::kColumns[CDlgFIR::kMag].write);
    EXPECT_EQ(Last().msgId, 50);
    EXPECT_EQ(Last().payload, Fir(2, 4, {8, 8, 8, 8}));
}

TEST_F(FirTest, ReadAndDefaultRequestsAndTheReadReply) {
    Click(Gyro().read);
    EXPECT_EQ(Last().msgId, 39);
    Click(CDlgFIR::kColumns[CDlgFIR::kMag].reset);
    EXPECT_EQ(Last().msgId, 52);
    Receive(15, 39, Fir(0, 2, {-1, 32767}));
    std::string expected = "-1,32767";
    for (int i = 0; i < 30; ++i)
        expected += ",0";
    EXPECT_EQ(Box(Gyro().coefficients), expected);
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_MINIAHRS_READ_FIR_GYRO") +
                                Text("Communicate State", "Succeed"));
}

}  // namespace
}  // namespace zephran
