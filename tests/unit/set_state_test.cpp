// Whether each parameter set shows the board's values: its state through reads, edits, writes,
// Default, calibrations and changes of board, its marks for the front ends, and the question
// before quitting with unwritten edits.
#include <string>
#include <vector>

#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/ahrs/dlg_six_face_cal.h"
#include "pages/autopilot/dlg_gpsins_setting_misc.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "pages/osd_tracker/dlg_calibrate.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using Setting = CDlgAHRSSetting;
using Cal = CDlgSensorCalibrate;

constexpr const char* kQuitQuestion =
    "Some values were changed but not written to the board. Quit anyway?";

std::vector<std::uint8_t> Noise(double q, double ra, double rm) {
    return PayloadBuilder().U8(1).Double(q).Double(ra).Double(rm).bytes;
}

// A record of a leading byte and floats.
std::vector<std::uint8_t> Floats(std::size_t count, float value) {
    PayloadBuilder b;
    b.U8(0x6D);
    for (std::size_t i = 0; i < count; ++i)
        b.Float(value);
    return b.bytes;
}

class SetStateTest : public testing::PageFixture {
protected:
    // "NAME: STATE" of every set of the page, as the headless front end prints them.
    static std::vector<std::string> States(const Page& page) {
        std::vector<std::string> lines;
        for (const ValueState* state : page.ValueStates())
            lines.push_back(state->Name() + ": " + std::string(SetStateText(state->State())));
        return lines;
    }
    SetState StateOf(const Page& page, std::size_t k) const {
        return page.ValueStates().at(k)->State();
    }
    ui::ValueMark Mark(int id) const { return Shown().Find(id)->mark; }
    // The notes after the page's group captions, those that have one.
    std::vector<std::string> Notes() const {
        std::vector<std::string> notes;
        for (const ui::Control& control : Shown().Controls()) {
            if (!control.note.empty()) notes.push_back(control.note);
        }
        return notes;
    }
    const Page& Shown() const { return *dialog->Pages().Shown(); }
};

TEST_F(SetStateTest, ReadEditWriteAndDefaultMoveTheSetThroughItsStates) {
    ShowPage("AHRS_Set");
    EXPECT_EQ(States(Shown()), std::vector<std::string>{"AHRS noise parameters: not read"});
    EXPECT_EQ(Mark(Setting::kGyroNoise), ui::ValueMark::NotRead);
    EXPECT_EQ(Notes(), std::vector<std::string>{"not read"});

    Click(Setting::kRead);
    Receive(15, 32, Noise(0.25, 2e-6, 1.5));
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kAsOnBoard);
    EXPECT_EQ(Mark(Setting::kGyroNoise), ui::ValueMark::None);
    EXPECT_TRUE(Notes().empty());

    // Only the changed box is highlighted; the write alone does not make it the board's.
    Type(Setting::kAccNoise, "3e-6");
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kEdited);
    EXPECT_EQ(Mark(Setting::kAccNoise), ui::ValueMark::Edited);
    EXPECT_EQ(Mark(Setting::kGyroNoise), ui::ValueMark::None);
    Click(Setting::kWrite);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kEdited);
    Receive(15, 33);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kAsOnBoard);
    EXPECT_EQ(Mark(Setting::kAccNoise), ui::ValueMark::None);

    // Default: the board holds values it has not reported; the boxes keep the old ones, marked.
    Click(Setting::kDefault);
    Receive(15, 34);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kNotRead);
    EXPECT_EQ(Box(Setting::kAccNoise), "3e-6");
    EXPECT_EQ(Mark(Setting::kAccNoise), ui::ValueMark::NotRead);
    EXPECT_EQ(Notes(), std::vector<std::string>{"not read"});
    Click(Setting::kRead);
    Receive(15, 32, Noise(1e-7, 1e-5, 1e-7));
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kAsOnBoard);
    EXPECT_EQ(Box(Setting::kAccNoise), "1e-05");
}

TEST_F(SetStateTest, OnlyTheAcknowledgementOfTheWriteAsTypedCounts) {
    ShowPage("AHRS_Set");
    // An acknowledgement nobody asked for makes nothing the board's.
    Receive(15, 33);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kNotRead);
    // A box changed after the write went out: the acknowledgement is of other values.
    Type(Setting::kGyroNoise, "0.5");
    Click(Setting::kWrite);
    Type(Setting::kGyroNoise, "0.75");
    Receive(15, 33);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kEdited);
    // A write that never left (no board) is not acknowledged either.
    link->Lose();
    dialog->ProcessPortEvents();
    Click(Setting::kWrite);
    Receive(15, 33);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kEdited);
}

TEST_F(SetStateTest, AnotherBoardOrNoneMakesReadSetsNotReadAndKeepsEdits) {
    ShowPage("AHRS_Set");
    Page& ahrsSet = *dialog->Pages().Find("AHRS_Set");
    Page& fir = *dialog->Pages().Find("AHRS_Set_FIR");
    Receive(15, 32, Noise(0.25, 2e-6, 1.5));
    EXPECT_EQ(StateOf(ahrsSet, 0), SetState::kAsOnBoard);
    link->Lose();
    dialog->ProcessPortEvents();
    EXPECT_EQ(StateOf(ahrsSet, 0), SetState::kNotRead);

    // Reconnected: read again, then a new connection forgets it once more.
    Advance(3000);
    ASSERT_TRUE(dialog->Session().Connected());
    Receive(15, 32, Noise(0.25, 2e-6, 1.5));
    EXPECT_EQ(StateOf(ahrsSet, 0), SetState::kAsOnBoard);
    dialog->Connection().StartScan();
    Advance(3000);
    ASSERT_TRUE(dialog->Session().Connected());
    EXPECT_EQ(StateOf(ahrsSet, 0), SetState::kNotRead);

    // A product change: the page keeps the user's text and the set stays edited.
    Receive(15, 32, Noise(0.25, 2e-6, 1.5));
    Type(Setting::kCompassNoise, "2.5");
    Receive(15, 39, std::vector<std::uint8_t>(66, 0));  // the gyroscope's filter
    EXPECT_EQ(StateOf(fir, 0), SetState::kAsOnBoard);
    dialog->OnCommand(1224);
    EXPECT_EQ(StateOf(ahrsSet, 0), SetState::kEdited);
    EXPECT_EQ(ahrsSet.GetDlgItemText(Setting::kCompassNoise), "2.5");
    EXPECT_EQ(StateOf(fir, 0), SetState::kNotRead);
}

TEST_F(SetStateTest, SensorCalibrationShowsOnlyWhatThisBoardReported) {
    ShowPage("AHRS_Cal");
    Cal& cal = static_cast<Cal&>(*dialog->Pages().Find("AHRS_Cal"));
    // A compass record too short for the extremes reports the coefficients alone.
    Receive(15, 13, Floats(6, 1.0f));
    EXPECT_EQ(StateOf(cal, Cal::kMagSet), SetState::kAsOnBoard);
    EXPECT_EQ(StateOf(cal, Cal::kExtremesSet), SetState::kNotRead);
    Receive(15, 13, Floats(13, 7.0f));
    EXPECT_EQ(StateOf(cal, Cal::kExtremesSet), SetState::kAsOnBoard);
    EXPECT_EQ(Box(1151), "7");  // minimum x

    // The three-axis calibration fits new coefficients it does not report.
    Receive(15, 24);
    EXPECT_EQ(StateOf(cal, Cal::kMagSet), SetState::kNotRead);
    EXPECT_EQ(StateOf(cal, Cal::kExtremesSet), SetState::kAsOnBoard);

    // A calibration's stop reports its coefficients.
    Receive(15, 4, Floats(6, 0.0f));
    EXPECT_EQ(StateOf(cal, Cal::kAccOffsetSet), SetState::kAsOnBoard);

    dialog->OnCommand(1224);  // the GPS/INS product
    for (std::size_t k = 0; k < cal.ValueStates().size(); ++k)
        EXPECT_EQ(StateOf(cal, k), SetState::kNotRead) << cal.ValueStates()[k]->Name();
    EXPECT_EQ(cal.Find(1151)->mark, ui::ValueMark::NotRead);
}

TEST_F(SetStateTest, SixFaceResultsAreForgottenByDefaultAndByAnotherBoard) {
    ShowPage("AHRS_ACC_CAL");
    EXPECT_EQ(States(Shown()),
              (std::vector<std::string>{"Faces: not read", "Coefficients: not read"}));
    Receive(15, 53, PayloadBuilder().U8(1).bytes);
    Receive(15, 55, Floats(6, 1.0f));
    EXPECT_EQ(States(Shown()), (std::vector<std::string>{"Faces: as on the board",
                                                         "Coefficients: as on the board"}));
    Click(CDlgSixFaceCal::kDefault);
    EXPECT_EQ(StateOf(Shown(), 1), SetState::kNotRead);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kAsOnBoard);
    link->Lose();
    dialog->ProcessPortEvents();
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kNotRead);
}

TEST_F(SetStateTest, GpsInsMiscChoicesFollowTheBoard) {
    using Misc = CDlgGPSINSSettingMisc;
    ShowPage("GPSINS_Set_Misc", "GPSINS");
    // Each of the six groups of choices says it is not read.
    EXPECT_EQ(Notes().size(), Misc::kChoiceCount);
    Click(Misc::kFirstRadio[Misc::kDirection] + 1);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kEdited);
    Click(Misc::kWrite);
    Receive(16, 8);
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kAsOnBoard);
    EXPECT_TRUE(Notes().empty());
}

// A fit of the two measured points is new to the board until its write is acknowledged.
TEST_F(SetStateTest, OsdCalibrationFitIsAnEdit) {
    using Dlg = CCalibrateDlg;
    ShowPage("OSD_Calibrate", "Vantrel");
    const Dlg::Quantity& current = Dlg::kQuantities[0];
    const ValueState& fit =
        static_cast<Dlg&>(*dialog->Pages().Shown()).Binding(*current.calibration).Values();
    Type(current.Id(Dlg::kKnownB), "10");
    Click(current.Id(Dlg::kReadA));
    Receive(9, 4, testing::Floats({0.5f}));
    EXPECT_EQ(fit.State(), SetState::kEdited);
    Click(current.Id(Dlg::kSet));
    Receive(9, 6);
    EXPECT_EQ(fit.State(), SetState::kAsOnBoard);
    Click(current.Id(Dlg::kReadB));
    Receive(9, 5, testing::Floats({1.0f}));
    EXPECT_EQ(fit.State(), SetState::kEdited);
    EXPECT_EQ(Mark(current.Id(Dlg::kBias)), ui::ValueMark::Edited);
}

TEST_F(SetStateTest, TrackerSpinEditsItsOffset) {
    ShowPage("AAT_Servo_Set", "AAT");
    ASSERT_TRUE(dialog->Pages().Shown()->UserSetPos(CAATServoSet::kHorizontalSpin, 12));
    EXPECT_EQ(StateOf(Shown(), 0), SetState::kEdited);
    EXPECT_EQ(Mark(CAATServoSet::kHorizontalOffset), ui::ValueMark::Edited);
}

TEST_F(SetStateTest, QuittingAsksOnceWhileAnEditIsNotWritten) {
    ShowPage("AHRS_Set");
    EXPECT_TRUE(dialog->MayQuit());
    EXPECT_TRUE(host.questions.empty());

    Type(Setting::kGyroNoise, "0.5");
    dialog->Tree().SelectItem(dialog->Tree().FindKey("AHRS_Cal"));
    Type(1034, "1.5");  // gyroscope scale x, another page
    host.answer = false;
    EXPECT_FALSE(dialog->MayQuit());
    EXPECT_EQ(host.questions, std::vector<std::string>{kQuitQuestion});
    host.answer = true;
    EXPECT_TRUE(dialog->MayQuit());
    EXPECT_EQ(host.questions.size(), 2u);

    // Written and acknowledged, or read back: nothing left to lose.
    Click(Cal::kGyroWriteScale);
    Receive(15, 68);
    Receive(15, 32, Noise(0.25, 2e-6, 1.5));
    EXPECT_TRUE(dialog->MayQuit());
    EXPECT_EQ(host.questions.size(), 2u);
}

}  // namespace
}  // namespace zephran
