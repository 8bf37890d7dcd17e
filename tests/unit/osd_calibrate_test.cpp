#include "pages/osd_tracker/dlg_calibrate.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::FloatAt;
using Dlg = CCalibrateDlg;
using Bytes = std::vector<std::uint8_t>;
using testing::Floats;

// The Vantrel's calibration page, connected to a board in memory.
class OsdCalTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("OSD_Calibrate", "Vantrel");
        ASSERT_EQ(Shown().Id().className, "CCalibrateDlg");
    }
    Dlg& Cal() { return static_cast<Dlg&>(Shown()); }
    const Dlg::Quantity& Current() const { return Dlg::kQuantities[0]; }
    const Dlg::Quantity& Voltage() const { return Dlg::kQuantities[1]; }
    std::string Cap(const char* key) { return Text("DlgCalibrate", key); }
    // A value of one of the page's sets, as the page keeps it.
    float Value(const ParameterSet& set, std::string_view field) {
        return static_cast<float>(Cal().Binding(set).Value(field).number);
    }
    float Bias(const Dlg::Quantity& q) { return Value(*q.calibration, "bias"); }
    float Scale(const Dlg::Quantity& q) { return Value(*q.calibration, "scale"); }
};

TEST_F(OsdCalTest, OnePointSetsSendTheirValueAlone) {
    Click(Dlg::kSetCurrentZeroOffset);
    EXPECT_EQ(Last().msgId, 1);
    EXPECT_EQ(Last().payload, (Bytes{0x00, 0x00, 0x00, 0x3F}));
    Type(Dlg::kVoltageReference, "11.1");
    Click(Dlg::kSetVoltageReference);
    EXPECT_EQ(Last().msgId, 3);
    EXPECT_FLOAT_EQ(FloatAt(Last().payload, 0), 11.1f);
    Click(Dlg::kSetCurrentReference);
    EXPECT_EQ(Last().msgId, 2);
    EXPECT_FLOAT_EQ(FloatAt(Last().payload, 0), 10.0f);
}

// Known values typed after the last commit still count when a point reply arrives.
TEST_F(OsdCalTest, CurrentPointsCarryTheKnownCurrentAndFitReadingFromCurrent) {
    Type(Current().Id(Dlg::kKnownB), "10");
    Click(Current().Id(Dlg::kReadA));
    EXPECT_EQ(Last().group, 9);
    EXPECT_EQ(Last().msgId, 4);
    EXPECT_EQ(Last().payload, Floats({0}));
    Receive(9, 4, Floats({0.5f}));
    Click(Current().Id(Dlg::kReadB));
    EXPECT_EQ(Last().msgId, 5);
    EXPECT_EQ(Last().payload, Floats({10}));
    Receive(9, 5, Floats({1.0f}));
    EXPECT_FLOAT_EQ(Scale(Current()), 0.05f);
    EXPECT_FLOAT_EQ(Bias(Current()), 0.5f);
    EXPECT_EQ(Box(Current().Id(Dlg::kMeasuredB)), "1");
    EXPECT_EQ(Box(Current().Id(Dlg::kBias)), "0.5");

    Type(Current().Id(Dlg::kBias), "0.5");
    Click(Current().Id(Dlg::kSet));
    EXPECT_EQ(Last().msgId, 6);
    EXPECT_EQ(Last().payload, (Bytes{0x00, 0x00, 0x00, 0x3F, 0xCD, 0xCC, 0x4C, 0x3D}));
}

TEST_F(OsdCalTest, VoltagePointsCarryNothingAndFitVoltageFromReading) {
    Type(Voltage().Id(Dlg::kKnownA), "10");
    Type(Voltage().Id(Dlg::kKnownB), "20");
    Click(Voltage().Id(Dlg::kReadA));
    EXPECT_EQ(Last().msgId, 8);
    EXPECT_TRUE(Last().payload.empty());
    // Point B still reads 0: a provisional fit through it.
    Receive(9, 8, Floats({1.0f}));
    EXPECT_EQ(Box(Voltage().Id(Dlg::kScale)), "-10");
    EXPECT_EQ(Box(Voltage().Id(Dlg::kBias)), "20");
    Receive(9, 9, Floats({2.0f}));
    EXPECT_FLOAT_EQ(Scale(Voltage()), 10);
    EXPECT_FLOAT_EQ(Bias(Voltage()), 0);
    Click(Voltage().Id(Dlg::kSet));
    EXPECT_EQ(Last().msgId, 10);
    EXPECT_EQ(Last().payload, Floats({0, 10}));
}

TEST_F(OsdCalTest, DegenerateOrUnrepresentableFitsKeepThePreviousPair) {
    Receive(9, 4, Floats({0.5f}));
    Receive(9, 5, Floats({1.0f}));  // equal known currents
    EXPECT_FLOAT_EQ(Scale(Current()), 0.05f);
    EXPECT_FLOAT_EQ(Bias(Current()), 0);

    // A known value typed but not yet committed counts.
    Type(Voltage().Id(Dlg::kKnownB), "3e38");
    Receive(9, 9, Floats({1.0f}));
    EXPECT_FLOAT_EQ(Scale(Voltage()), 3e38f);
    Receive(9, 8, Floats({1.0f}));        // equal readings
    Receive(9, 8, Floats({1.0000001f}));  // a scale beyond any float
    EXPECT_FLOAT_EQ(Scale(Voltage()), 3e38f);
    EXPECT_FLOAT_EQ(Bias(Voltage()), 0);
    EXPECT_EQ(Box(Voltage().Id(Dlg::kScale)), "3e+38");
}

// Only requests that carry the page's values report a bad box, and they send nothing; the
// others, the voltage's point reads among them, go out whatever the boxes hold.
TEST_F(OsdCalTest, OnlyValueCarryingRequestsReportABadBox) {
    Type(Dlg::kCurrentReference, "abc");
    for (int id : {Current().Id(Dlg::kRead), Voltage().Id(Dlg::kDefault), Voltage().Id(Dlg::kReadA),
                   int{Dlg::kReadRssi}})
        Click(id);
    EXPECT_EQ(Last().msgId, 14);
    EXPECT_TRUE(host.messages.empty());
    const auto writes = link->written.size();
    Click(Dlg::kSetVoltageReference);
    Click(Current().Id(Dlg::kReadA));
    EXPECT_EQ(host.messages, std::vector<std::string>(2, "Enter a number."));
    EXPECT_EQ(Shown().Focus(), Dlg::kCurrentReference);
    EXPECT_EQ(link->written.size(), writes);
    Type(Dlg::kCurrentReference, "10.5");
    Click(Dlg::kSetVoltageReference);
    ASSERT_EQ(link->written.size(), writes + 1);
    EXPECT_FLOAT_EQ(FloatAt(Last().payload, 0), 12.2f);
}

// A point's reading arrives while a box is bad: the boxes that parse are taken for the fit,
// no message is shown, and the reply shows the values the page kept.
TEST_F(OsdCalTest, APointReplyWithABadBoxFitsWithTheBoxesThatParse) {
    Type(Voltage().Id(Dlg::kKnownA), "1");
    Type(Voltage().Id(Dlg::kKnownB), "3");
    Type(Dlg::kCurrentReference, "abc");
    Receive(9, 8, Floats({2}));
    Receive(9, 9, Floats({4}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FLOAT_EQ(Scale(Voltage()), 1);
    EXPECT_FLOAT_EQ(Bias(Voltage()), -1);
    EXPECT_EQ(Box(Dlg::kCurrentReference), "10");
}

TEST_F(OsdCalTest, ReadBackRepliesFillTheirBoxesAndOthersChangeNothing) {
    Receive(9, 7, Floats({0.25f, 0.04f}));
    Receive(9, 11, Floats({0.1f, 10.9f}));
    Receive(9, 14, Floats({0.42f, 2.87f}));
    EXPECT_EQ(Box(Current().Id(Dlg::kBiasRead)), "0.25");
    EXPECT_EQ(Box(Current().Id(Dlg::kScaleRead)), "0.04");
    EXPECT_EQ(Box(Voltage().Id(Dlg::kScaleRead)), "10.9");
    EXPECT_EQ(Box(Dlg::kRssiMax), "2.87");

    Receive(9, 6, Floats({9, 9}));
    Receive(9, 10, Floats({9, 9}));
    EXPECT_EQ(Log().back(),
              Text("Communicate State", "Set Voltage Cal") + Text("Communicate State", "Succeed"));
    Receive(9, 14, Floats({5.0f}));  // shorter than its layout
    Receive(9, 8, {0x00, 0x00});
    EXPECT_FLOAT_EQ(Value(Dlg::kRssiRange, "rssiMin"), 0.42f);
    EXPECT_FLOAT_EQ(Cal().voltage.measuredA, 0);
    EXPECT_FLOAT_EQ(Bias(Current()), 0);
    EXPECT_FLOAT_EQ(Scale(Voltage()), 0);
}

TEST_F(OsdCalTest, RssiToggleFollowsItsCaptionAndKeepsItThroughALanguageRefresh) {
    EXPECT_EQ(Box(Dlg::kRssiToggle), Cap("m_ButtonStartRSSICal"));
    Click(Dlg::kRssiToggle);
    EXPECT_EQ(Last().msgId, 15);
    EXPECT_EQ(Box(Dlg::kRssiToggle), Cap("m_ButtonStopRSSICal"));
    Receive(9, 15);
    EXPECT_EQ(Box(Dlg::kRssiToggle), Cap("m_ButtonStopRSSICal"));
    Click(Dlg::kRssiToggle);
    EXPECT_EQ(Last().msgId, 16);
    Click(Dlg::kRssiToggle);
    // Running: a language change keeps the stop caption, so the next press stops it.
    dialog->ApplyLanguageRefresh();
    EXPECT_EQ(Box(Dlg::kRssiToggle), Cap("m_ButtonStopRSSICal"));
    Click(Dlg::kRssiToggle);
    EXPECT_EQ(Last().msgId, 16);
    dialog->ApplyLanguageRefresh();
    EXPECT_EQ(Box(Dlg::kRssiToggle), Cap("m_ButtonStartRSSICal"));
}

// Nothing goes out without a board, so the caption stays and the next press starts again.
TEST_F(OsdCalTest, RssiToggleKeepsItsCaptionWhenNothingWasSent) {
    link->Lose();
    dialog->ProcessPortEvents();
    host.messages.clear();
    const std::size_t written = link->written.size();
    Click(Dlg::kRssiToggle);
    EXPECT_EQ(link->written.size(), written);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(Box(Dlg::kRssiToggle), Cap("m_ButtonStartRSSICal"));
}

}  // namespace
}  // namespace zephran
