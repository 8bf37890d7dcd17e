#include <array>
#include <string>
#include <vector>

#include "pages/autopilot/dlg_gpsins_setting.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using Bytes = std::vector<std::uint8_t>;
using Values = std::array<double, 12>;
using P = CDlgGPSINSSetting;

// Q: gyro, acc, both random walks; R: GPS position and velocity, barometer, acc without GPS,
// magnetic yaw, acc.
constexpr Values kInitial{1e-8,  0.001, 1e-9,  1e-20, 0.01, 0.001,
                          0.001, 100.0, 0.001, 1e-5,  1e-4, 0.001};
constexpr Values kBoard{0.5, 1.0 / 3, 2e-7, 4.0, -1.5, 1e-300, 0.125, 7.0, 8.0, 9.25, 1e10, 0.75};

Bytes Qr(std::uint8_t leading, const Values& values) {
    PayloadBuilder b;
    b.U8(leading);
    for (double v : values)
        b.Double(v);
    return b.bytes;
}

class GpsInsSettingTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("GPSINS_Set", "GPSINS");
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> shown;
        for (std::size_t n = 0; n < 12; ++n)
            shown.push_back(Box(P::Box(n)));
        return shown;
    }
};

TEST_F(GpsInsSettingTest, WriteBeforeAnyReadSendsTheInitialValuesAndDefaultSendsNothingElse) {
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"1e-08", "0.001", "1e-09", "1e-20", "0.01", "0.001",
                                        "0.001", "100", "0.001", "1e-05", "0.0001", "0.001"}));
    Click(P::kWrite);
    EXPECT_EQ(Last().group, 16);
    EXPECT_EQ(Last().msgId, 5);
    EXPECT_EQ(Last().payload, Qr(0, kInitial));
    Click(P::kDefault);
    EXPECT_EQ(Last().msgId, 6);
    EXPECT_TRUE(Last().payload.empty());
    // The acknowledgements clear their pending requests and nothing else.
    const std::size_t logged = Log().size();
    Receive(16, 5);
    Receive(16, 6);
    EXPECT_TRUE(dialog->Session().Pending().empty());
    EXPECT_EQ(Log().size(), logged);
}

TEST_F(GpsInsSettingTest, ReadReplyFillsEveryBoxAndItsLeadingByteGoesBack) {
    Click(P::kRead);
    EXPECT_EQ(Last().group, 16);
    EXPECT_EQ(Last().msgId, 4);
    EXPECT_TRUE(Last().payload.empty());
    Receive(16, 4, Qr(0x9C, kBoard));
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"0.5", "0.333333333333333", "2e-07", "4", "-1.5", "1e-300",
                                        "0.125", "7", "8", "9.25", "10000000000", "0.75"}));
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_GPSINS_QR_READ") +
                                Text("Communicate State", "Succeed"));
    EXPECT_TRUE(dialog->Session().Pending().empty());

    Type(P::Box(11), "0.0625");
    Click(P::kWrite);
    Values written = kBoard;
    written[1] = 0.333333333333333;  // as the box showed it
    written[11] = 0.0625;
    EXPECT_EQ(Last().payload, Qr(0x9C, written));
}

TEST_F(GpsInsSettingTest, BadBoxWritesNothingUntilCorrected) {
    Type(P::Box(0), "2.5");
    Type(P::Box(5), "noise");
    Type(P::Box(6), "3.5");
    const auto writes = link->written.size();
    Click(P::kWrite);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter a number."});
    EXPECT_EQ(Shown().Focus(), P::Box(5));
    EXPECT_EQ(link->written.size(), writes);
    Type(P::Box(5), "1.5");
    Click(P::kWrite);
    Values expected = kInitial;
    expected[0] = 2.5;
    expected[5] = 1.5;
    expected[6] = 3.5;
    EXPECT_EQ(Last().msgId, 5);
    EXPECT_EQ(Last().payload, Qr(0, expected));
}

TEST_F(GpsInsSettingTest, ReplyCopiesOnlyTheBytesItCarriesAndAtMostTheRecord) {
    Receive(16, 4, Qr(1, kBoard));
    // A long echo leaves other bytes in the receive area; it is neither logged nor decoded, and
    // a short read reply must not pick its bytes up.
    const std::size_t logged = Log().size();
    Receive(16, 5, Bytes(200, 0xEE));
    EXPECT_EQ(Log().size(), logged);
    EXPECT_EQ(Box(P::Box(0)), "0.5");
    Receive(16, 4, PayloadBuilder().U8(2).Double(6.0).bytes);
    EXPECT_EQ(Box(P::Box(0)), "6");
    EXPECT_EQ(Box(P::Box(11)), "0.75");

    Bytes longer = Qr(3, kInitial);
    longer.resize(120, 0xEE);
    Receive(16, 4, longer);
    Click(P::kWrite);
    EXPECT_EQ(Last().payload, Qr(3, kInitial));
}

}  // namespace
}  // namespace zephran
