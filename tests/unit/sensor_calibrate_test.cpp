#include <cmath>
#include <string>

#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::FloatAt;
using testing::PayloadBuilder;
using Page = CDlgSensorCalibrate;

// A record of a leading byte and floats.
std::vector<std::uint8_t> Floats(std::uint8_t leading, std::vector<float> values) {
    PayloadBuilder b;
    b.U8(leading);
    for (float v : values)
        b.Float(v);
    return b.bytes;
}

// A three-axis progress report: 25 board bytes, maxima, minima, step code and progress.
std::vector<std::uint8_t> Report(float maxX, float minX, std::uint8_t step, std::uint8_t progress) {
    PayloadBuilder b;
    for (int i = 0; i < 25; ++i)
        b.U8(0xAB);
    b.Float(maxX).Float(2).Float(3).Float(minX).Float(-2).Float(-3).U8(step).U8(progress);
    return b.bytes;
}

// A live record with the values the page takes; the rest zero.
AhrsLiveRecord Live(float ax, float gx, float mx, float my, float mz) {
    return {0, 0, 0, 0, gx, 0, 0, ax, 0, 0, mx, my, mz};
}

class SensorCalibrateTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AHRS_Cal");
    }
    CDlgSensorCalibrate& Cal() {
        return static_cast<CDlgSensorCalibrate&>(*dialog->Pages().Find("AHRS_Cal"));
    }
    std::string Cap(const char* key) { return Text("DlgSensorCalibrate", key); }
    double Number(int id) const { return std::stod(Box(id)); }
    bool MagCalibrating() { return dialog->Session().MagCalibrating(); }
    // The three-axis toggle is never shown; tests reveal it to press it.
    void Reveal3Axis() { Cal().ShowControl(Page::kMag3AxisToggle, true); }
};

TEST_F(SensorCalibrateTest, ToggleDecidesByCaptionAndOnlyTheAcknowledgementChangesIt) {
    EXPECT_EQ(Box(Page::kAccToggle), Cap("IDC_BUTTON_ACC_BEGIN_CAL"));
    Click(Page::kAccToggle);
    EXPECT_EQ(Last().msgId, 3);
    // No answer: the button still offers to begin, and sends begin again.
    EXPECT_EQ(Box(Page::kAccToggle), Cap("IDC_BUTTON_ACC_BEGIN_CAL"));
    Click(Page::kAccToggle);
    EXPECT_EQ(Last().msgId, 3);

    Receive(15, 3);
    EXPECT_EQ(Box(Page::kAccToggle), Cap("IDC_BUTTON_STOP"));
    Click(Page::kAccToggle);
    EXPECT_EQ(Last().msgId, 4);
    EXPECT_EQ(Box(Page::kAccToggle), Cap("IDC_BUTTON_STOP"));

    Receive(15, 7);
    Click(Page::kGyroToggle);
    EXPECT_EQ(Last().msgId, 8);
    Receive(15, 11);
    Click(Page::kMagToggle);
    EXPECT_EQ(Last().msgId, 12);
    Receive(15, 12, Floats(0, {}));
    EXPECT_EQ(Box(Page::kMagToggle), Cap("IDC_BUTTON_MAG_BEGIN"));
    Click(Page::kMagToggle);
    EXPECT_EQ(Last().msgId, 11);
}

TEST_F(SensorCalibrateTest, RequestButtonsSendEmptyFrames) {
    const std::pair<int, int> buttons[] = {{Page::kAccRead, 5},        {Page::kAccDefault, 6},
                                           {Page::kGyroRead, 9},       {Page::kGyroDefault, 10},
                                           {Page::kGyroReadScale, 67}, {Page::kMagRead, 13},
                                           {Page::kMagDefault, 14}};
    for (const auto& [id, msgId] : buttons) {
        Click(id);
        EXPECT_EQ(Last().group, 15);
        EXPECT_EQ(Last().msgId, msgId) << id;
        EXPECT_TRUE(Last().payload.empty());
    }
}

TEST_F(SensorCalibrateTest, StopRepliesConvertUnitsAndRestoreTheBeginCaption) {
    Receive(15, 7);
    Receive(15, 8, Floats(0, {0.01f, 0, -0.02f, 1, 1, 1}));
    EXPECT_NEAR(Number(1031), 0.573, 0.001);
    EXPECT_NEAR(Number(1033), -1.146, 0.001);
    EXPECT_EQ(Box(Page::kGyroToggle), Cap("IDC_BUTTON_GYRO_BEGIN_CAL"));

    Receive(15, 3);
    Receive(15, 5, Floats(0, {0, 4.89365f, 9.7873f}));
    EXPECT_EQ(Box(1029), "1");
    EXPECT_EQ(Box(1026), "0.5");
    // A read leaves the caption alone.
    EXPECT_EQ(Box(Page::kAccToggle), Cap("IDC_BUTTON_STOP"));
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_MINIAHRS_ACC_READ_CAL") +
                                Text("Communicate State", "Succeed"));

    Receive(15, 13, Floats(0, {1.5f, 2.5f, 3.5f, 0.5f, 0.25f, 2, 9, 9, 9, 9, 9, 9, 12}));
    EXPECT_EQ(Box(1156), "1.5");
    EXPECT_EQ(Box(1020), "3.5");
    EXPECT_EQ(Box(1159), "0.25");
    EXPECT_EQ(Box(1021), "2");
    // The extremes come with the compass record; the north trim only with its own reply.
    EXPECT_EQ(Box(1154), "9");
    EXPECT_EQ(Box(Page::kNorthTrim), "0");
    Receive(15, 18, Floats(0, {0, 0, 0, 0, 0, 0, 40, 41, 42, -40, -41, -42, 0}));
    EXPECT_EQ(Box(1154), "40");
    EXPECT_EQ(Box(1015), "42");
    EXPECT_EQ(Box(1153), "-42");
    Receive(15, 15, Floats(0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7.5f}));
    EXPECT_EQ(Box(Page::kNorthTrim), "7.5");
}

TEST_F(SensorCalibrateTest, ShortRepliesKeepTheRecordsTail) {
    Receive(15, 12, Floats(0, {1, 2, 3, 4, 5, 6}));
    Receive(15, 1, std::vector<std::uint8_t>(49, 0xEE));
    Receive(15, 13, Floats(0, {10}));
    EXPECT_EQ(Box(1156), "10");
    EXPECT_EQ(Box(1157), "2");
    EXPECT_EQ(Box(1021), "6");
}

TEST_F(SensorCalibrateTest, GyroScaleWriteSendsTheBoxesOverTheLastGyroRecord) {
    Click(Page::kGyroWriteScale);
    EXPECT_EQ(Last().msgId, 68);
    EXPECT_EQ(Last().payload, Floats(0, {0, 0, 0, 1, 1, 1}));

    Receive(15, 9, Floats(9, {0.1f, 0.2f, 0.3f, 1.5f, 1.5f, 1.5f}));
    Receive(15, 67, Floats(9, {0.1f, 0.2f, 0.3f, 2, 3, 4}));
    EXPECT_EQ(Box(1035), "3");
    Type(1034, "1.25");
    Type(1036, "0.75");
    Click(Page::kGyroWriteScale);
    EXPECT_EQ(Last().payload, Floats(9, {0.1f, 0.2f, 0.3f, 1.25f, 3, 0.75f}));

    // A bad box is reported and nothing is taken or sent until it is corrected.
    Type(1034, "2");
    Type(1035, "much");
    const auto writes = link->written.size();
    Click(Page::kGyroWriteScale);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter a number."});
    EXPECT_EQ(Shown().Focus(), 1035);
    EXPECT_EQ(link->written.size(), writes);
    Type(1035, "2.5");
    Click(Page::kGyroWriteScale);
    EXPECT_EQ(Last().payload, Floats(9, {0.1f, 0.2f, 0.3f, 2, 2.5f, 0.75f}));
}

TEST_F(SensorCalibrateTest, BoardNonNumberInAReadOnlyBoxDoesNotBlockTheScales) {
    Cal().TakeLiveValues(Live(std::nanf(""), 0, 0, 0, 0));
    Type(1036, "4");
    Click(Page::kGyroWriteScale);
    EXPECT_EQ(Last().payload, Floats(0, {0, 0, 0, 1, 1, 4}));
}

TEST_F(SensorCalibrateTest, ThreeAxisToggleSetsTheFlagAndItsRepliesDriveTheStatusBar) {
    EXPECT_FALSE(Cal().Find(Page::kMag3AxisToggle)->visible);
    EXPECT_FALSE(Cal().Find(Page::kNorthTrim)->visible);
    Reveal3Axis();
    Click(Page::kMag3AxisToggle);
    EXPECT_EQ(Last().msgId, 22);
    EXPECT_TRUE(MagCalibrating());
    Receive(15, 22);
    EXPECT_EQ(Box(Page::kMag3AxisToggle), Cap("IDC_BUTTON_CANCAL"));

    Receive(15, 25, Report(5, -5, 0x10, 30));
    EXPECT_EQ(Pane(0), Text("MessagBox", "Horizontal Module"));
    EXPECT_EQ(dialog->StatusBar().Progress(), 30);
    Receive(15, 25, Report(6, -6, 0x22, 70));
    EXPECT_EQ(Pane(0), Text("MessagBox", "Cal Vertical"));
    // An unknown step moves the extremes and the progress but not the prompt.
    Receive(15, 25, Report(8, -9, 0x12, 80));
    EXPECT_EQ(Pane(0), Text("MessagBox", "Cal Vertical"));
    EXPECT_EQ(dialog->StatusBar().Progress(), 80);
    EXPECT_EQ(Box(1154), "8");
    EXPECT_EQ(Box(1151), "-9");
    EXPECT_EQ(Box(1015), "3");

    Receive(15, 24);
    EXPECT_FALSE(MagCalibrating());
    EXPECT_EQ(Pane(0), Text("MessagBox", "Cal Complete"));
    EXPECT_EQ(dialog->StatusBar().Progress(), 0);
    EXPECT_EQ(Box(Page::kMag3AxisToggle), Cap("IDC_BUTTON_MAG_BEGIN2"));

    Receive(15, 22);
    Receive(15, 25, Report(1, -1, 0x11, 40));
    Click(Page::kMag3AxisToggle);
    EXPECT_EQ(Last().msgId, 23);
    EXPECT_FALSE(MagCalibrating());
    Receive(15, 23);
    EXPECT_EQ(dialog->StatusBar().Progress(), 0);
    EXPECT_EQ(Box(Page::kMag3AxisToggle), Cap("IDC_BUTTON_MAG_BEGIN2"));
}

TEST_F(SensorCalibrateTest, LiveValuesFillTheTenBoxesOnlyWhileShown) {
    Cal().TakeLiveValues(Live(0.5f, -12.25f, 3, 4, 12));
    EXPECT_EQ(Box(1022), " 0.500");
    EXPECT_EQ(Box(1024), "-12.250");
    EXPECT_EQ(Box(1148), " 3.000");
    EXPECT_EQ(Box(Page::kMagNorm), "13.000");
    EXPECT_EQ(Box(1025), " 0.000");

    dialog->Tree().SelectItem(dialog->Tree().FindKey("AHRS_View"));
    Cal().TakeLiveValues(Live(0.25f, 1, 0, 0, 2));
    EXPECT_EQ(Cal().GetDlgItemText(1022), " 0.500");
    EXPECT_EQ(Cal().GetDlgItemText(Page::kMagNorm), "13.000");
    EXPECT_FLOAT_EQ(Cal().accCurrent[0], 0.25f);
    EXPECT_FLOAT_EQ(Cal().magNorm, 2);

    // The next reply refreshes every box from the fields, hidden or not.
    Receive(15, 7);
    EXPECT_EQ(Cal().GetDlgItemText(1022), "0.25");
    EXPECT_EQ(Cal().GetDlgItemText(Page::kMagNorm), "2");
    EXPECT_EQ(Cal().GetDlgItemText(Page::kGyroToggle), Cap("IDC_BUTTON_STOP"));
}

TEST_F(SensorCalibrateTest, LiveFramesReachThePage) {
    testing::PayloadBuilder live;
    live.U8(0);
    for (float v : {0.f, 0.f, 0.f, 1.5f, 0.f, 0.f, 0.f, 0.f, 1.f, 3.f, 0.f, 4.f})
        live.Float(v);
    Receive(15, 1, live.bytes);
    EXPECT_EQ(Box(1024), " 1.500");
    EXPECT_EQ(Box(1028), " 1.000");
    EXPECT_EQ(Box(Page::kMagNorm), " 5.000");
}

// Without a language the page's own template captions are the ones compared and set.
TEST_F(SensorCalibrateTest, TemplateCaptionsDecideWithoutALanguage) {
    dir.Write("config/ZephranFPV/profile.ini", "[Settings]\nLanguage=\n");
    ASSERT_FALSE(dialog->LanguageChosen());
    Receive(15, 4, Floats(0, {}));
    EXPECT_EQ(Box(Page::kAccToggle), "Start");
    Click(Page::kAccToggle);
    EXPECT_EQ(Last().msgId, 3);
    Receive(15, 3);
    EXPECT_EQ(Box(Page::kAccToggle), "Stop");
    Click(Page::kAccToggle);
    EXPECT_EQ(Last().msgId, 4);
}

// A language change while the board runs a procedure keeps its running caption, so the next
// press still stops it; a procedure that is not running shows its begin caption again.
TEST_F(SensorCalibrateTest, LanguageChangeKeepsTheRunningCaption) {
    Receive(15, 3);
    Receive(15, 7);
    Receive(15, 8, Floats(0, {}));
    dialog->ApplyLanguageRefresh();
    EXPECT_EQ(Box(Page::kAccToggle), Cap("IDC_BUTTON_STOP"));
    EXPECT_EQ(Box(Page::kGyroToggle), Cap("IDC_BUTTON_GYRO_BEGIN_CAL"));
    Click(Page::kAccToggle);
    EXPECT_EQ(Last().msgId, 4);
}

}  // namespace
}  // namespace zephran
