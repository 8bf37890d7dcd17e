// The AHRS pages and the AHRS board menu through the headless front end, against a simulated
// AHRS board on a pty: every request goes to the board and every value shown is the board's.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_fir.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/ahrs/dlg_six_face_cal.h"
#include "sim/ahrs_calibration.h"
#include "sim/ahrs_model.h"
#include "sim/virtual_board.h"

namespace zephran::test {
namespace {

using std::chrono::steady_clock;
using Ids = std::array<int, 3>;
using Texts = std::array<std::string, 3>;

constexpr double kG = sim::kGravity;

// The application with the AHRS product and one board as its only port.
class HeadlessAhrsBoard : public HeadlessBoardTest {
protected:
    void Connect(const std::string& boardProduct = "AHRS") {
        HeadlessBoardTest::Connect("AHRS", boardProduct);
    }

    std::string Text(int id) { return app_->Get(id).value_or("<no control>"); }

    Texts TextsOf(const Ids& ids) { return {Text(ids[0]), Text(ids[1]), Text(ids[2])}; }

    double Number(int id) {
        const std::string text = Text(id);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        EXPECT_TRUE(!text.empty() && *end == '\0') << id << " shows '" << text << "'";
        return value;
    }

    void ExpectNear(const Ids& ids, const sim::Vec3& expected, double tolerance,
                    double unit = 1.0) {
        for (std::size_t axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(Number(ids[axis]), expected[axis] / unit, tolerance) << "box " << ids[axis];
    }
};

class HeadlessAhrsSettings : public HeadlessAhrsBoard {};

TEST_F(HeadlessAhrsSettings, NoiseParametersAreWrittenReadBackAndReset) {
    using S = CDlgAHRSSetting;
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page AHRS_Set");
    const Ids boxes{S::kGyroNoise, S::kAccNoise, S::kCompassNoise};
    const auto setAll = [&](const Texts& texts) {
        for (std::size_t i = 0; i < 3; ++i)
            Set(boxes[i], texts[i]);
    };
    const Texts defaults{"1e-07", "1e-05", "1e-07"};

    setAll({"1", "2", "3"});
    Ask(S::kRead, "Read AHRS Parameters");
    EXPECT_EQ(TextsOf(boxes), defaults);

    const Texts written{"2.5e-06", "0.000125", "3.75e-08"};
    setAll(written);
    Send(S::kWrite, "Write AHRS Parameters");
    setAll({"0", "0", "0"});
    Ask(S::kRead, "Read AHRS Parameters");
    EXPECT_EQ(TextsOf(boxes), written);

    Send(S::kDefault, "Default AHRS Parameters");
    Ask(S::kRead, "Read AHRS Parameters");
    EXPECT_EQ(TextsOf(boxes), defaults);
    ExpectNoTimeOut();
}

// The coefficient text of a read: the leading coefficients, then zeros, 32 in all.
std::string Coefficients(const std::vector<int>& leading) {
    std::string text;
    for (std::size_t k = 0; k < 32; ++k) {
        if (k > 0) text += ",";
        text += std::to_string(k < leading.size() ? leading[k] : 0);
    }
    return text;
}

TEST_F(HeadlessAhrsSettings, EachFirFilterIsWrittenReadBackAndReset) {
    struct Filter {
        const char* sensor;  // as the log names it
        int factoryTaps;     // the board's moving averages of unity gain
        std::string taps;
        std::string text;
        std::vector<int> written;
    };
    const std::array<Filter, 3> filters{{
        {"Gyro", 4, "3", "120,-340,560", {120, -340, 560}},
        // A run of commas is one separator; tokens past the tap count go out as 0.
        {"Acc", 8, "5", "1000,,-2000,3000,-4000,5000,6000", {1000, -2000, 3000, -4000, 5000}},
        // A coefficient keeps its low 16 bits.
        {"Mag", 16, "2", "40000,7", {40000 - 65536, 7}},
    }};
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page AHRS_Set_FIR");
    for (std::size_t i = 0; i < filters.size(); ++i) {
        const Filter& filter = filters[i];
        const CDlgFIR::Column& column = CDlgFIR::kColumns[i];
        SCOPED_TRACE(filter.sensor);
        const std::string name = std::string(" ") + filter.sensor + " FIR";
        const auto expectFactory = [&] {
            EXPECT_EQ(Text(column.taps), std::to_string(filter.factoryTaps));
            EXPECT_EQ(
                Text(column.coefficients),
                Coefficients(std::vector<int>(filter.factoryTaps, 32768 / filter.factoryTaps)));
        };

        Ask(column.read, "Read" + name);
        expectFactory();

        Set(column.taps, filter.taps);
        Set(column.coefficients, filter.text);
        Send(column.write, "Write" + name);
        Set(column.taps, "0");
        Set(column.coefficients, "");
        Ask(column.read, "Read" + name);
        EXPECT_EQ(Text(column.taps), filter.taps);
        EXPECT_EQ(Text(column.coefficients), Coefficients(filter.written));

        Send(column.reset, "Default" + name);
        Ask(column.read, "Read" + name);
        expectFactory();
    }
    ExpectNoTimeOut();
}

class HeadlessAhrsCalibration : public HeadlessAhrsBoard {
protected:
    using S = CDlgSensorCalibrate;
    static constexpr const char* kStart = "Start Calibration";
    static constexpr const char* kStop = "Stop Calibration";

    // Runs one of the board's calibrations for a while with its toggle; the caption follows
    // the board's acknowledgements.
    void Calibrate(int toggle, const std::string& sensor, int runningMs) {
        EXPECT_EQ(Text(toggle), kStart);
        Ask(toggle, "Start " + sensor + " Cal");
        EXPECT_EQ(Text(toggle), kStop);
        Run("wait " + std::to_string(runningMs));
        EXPECT_EQ(Text(toggle), kStop);
        Ask(toggle, "Stop " + sensor + " Cal");
        EXPECT_EQ(Text(toggle), kStart);
    }
};

TEST_F(HeadlessAhrsCalibration, EachCalibrationRunsToItsResult) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page AHRS_Cal");

    // The current values of the three sensors and the field strength follow the live data.
    const std::array<int, 10> live{1022, 1025, 1028, 1024, 1027,
                                   1030, 1148, 1149, 1150, S::kMagNorm};
    ASSERT_TRUE(app_->WaitUntil("get 1162", ".", 2s));
    const auto liveTexts = [&] {
        std::vector<std::string> texts;
        for (int id : live)
            texts.push_back(Text(id));
        return texts;
    };
    const std::vector<std::string> first = liveTexts();
    for (const std::string& text : first)
        EXPECT_TRUE(std::regex_match(text, std::regex(R"( *-?\d+\.\d{3})"))) << text;
    bool changed = false;
    for (int i = 0; i < 50 && !changed; ++i) {
        Run("wait 20");
        changed = liveTexts() != first;
    }
    EXPECT_TRUE(changed);

    // Accelerometer, laid level: the offsets that make it read straight up, shown in g.
    const Ids accOffset{1023, 1026, 1029};
    Calibrate(S::kAccToggle, "Acc", 300);
    EXPECT_NEAR(Number(accOffset[0]), sim::kAccBias[0] / kG, 1e-3);
    EXPECT_NEAR(Number(accOffset[1]), sim::kAccBias[1] / kG, 1e-3);
    const Texts accResult = TextsOf(accOffset);
    Ask(S::kAccRead, "Read Acc Cal");
    EXPECT_EQ(TextsOf(accOffset), accResult);
    Send(S::kAccDefault, "Default Acc Cal");
    Ask(S::kAccRead, "Read Acc Cal");
    ExpectNear(accOffset, sim::kFactoryAcc.offset, 1e-6, kG);

    // Gyroscope at rest: its zero bias, shown in degrees per second; then its scales.
    const Ids gyroBias{1031, 1032, 1033};
    const Ids gyroScale{1034, 1035, 1036};
    Calibrate(S::kGyroToggle, "Gyro", 300);
    ExpectNear(gyroBias, sim::kGyroBias, 0.02, 1 / sim::kDegPerRad);
    const Texts gyroResult = TextsOf(gyroBias);
    Ask(S::kGyroRead, "Read Gyro Cal");
    EXPECT_EQ(TextsOf(gyroBias), gyroResult);

    Ask(S::kGyroReadScale, "Read Gyro Scale");
    EXPECT_EQ(TextsOf(gyroScale), (Texts{"1", "1", "1"}));
    const Texts scales{"1.01", "0.99", "1.002"};
    for (std::size_t axis = 0; axis < 3; ++axis)
        Set(gyroScale[axis], scales[axis]);
    Send(S::kGyroWriteScale, "Write Gyro Scale");
    for (int id : gyroScale)
        Set(id, "2");
    Ask(S::kGyroReadScale, "Read Gyro Scale");
    EXPECT_EQ(TextsOf(gyroScale), scales);

    Send(S::kGyroDefault, "Default Gyro Cal");
    Ask(S::kGyroRead, "Read Gyro Cal");
    ExpectNear(gyroBias, sim::kFactoryGyro.offset, 1e-4, 1 / sim::kDegPerRad);
    Ask(S::kGyroReadScale, "Read Gyro Scale");
    EXPECT_EQ(TextsOf(gyroScale), (Texts{"1", "1", "1"}));

    // Compass, turned every way: the extremes seen, and the offsets and scales of the fit,
    // which takes a few seconds of turning to settle.
    const Ids magMinimum{1151, 1152, 1153};
    const Ids magMaximum{1154, 1155, 1015};
    const Ids magOffset{1156, 1157, 1020};
    const Ids magScale{1158, 1159, 1021};
    Calibrate(S::kMagToggle, "Mag", 2500);
    for (std::size_t axis = 0; axis < 3; ++axis)
        EXPECT_LT(Number(magMinimum[axis]), Number(magMaximum[axis])) << axis;
    ExpectNear(magOffset, sim::kMagOffset, 2);
    ExpectNear(magScale, sim::kMagScale, 0.01);
    const Texts offsetResult = TextsOf(magOffset);
    const Texts scaleResult = TextsOf(magScale);
    Ask(S::kMagRead, "Read Mag Cal");
    EXPECT_EQ(TextsOf(magOffset), offsetResult);
    EXPECT_EQ(TextsOf(magScale), scaleResult);
    Send(S::kMagDefault, "Default Mag Cal");
    Ask(S::kMagRead, "Read Mag Cal");
    ExpectNear(magOffset, sim::kFactoryMag.offset, 1e-4);
    ExpectNear(magScale, sim::kFactoryMag.scale, 1e-6);
    ExpectNoTimeOut();
}

// An OSD board does not know the calibration requests.
TEST_F(HeadlessAhrsCalibration, ACaptionChangesOnlyOnTheBoardsAcknowledgement) {
    ASSERT_NO_FATAL_FAILURE(Connect("Vantrel"));
    Run("page AHRS_Cal");
    Send(S::kAccToggle, "Start Acc Cal");
    EXPECT_TRUE(app_->WaitUntil("log", "Start Acc Cal time-out", 3s));
    EXPECT_TRUE(
        Contains(app_->Transcript(), "message: Start Acc Cal timed out: no reply from the board."));
    EXPECT_EQ(Text(S::kAccToggle), kStart);
    // So the toggle starts again.
    Send(S::kAccToggle, "Start Acc Cal");
}

class HeadlessAhrsSixFace : public HeadlessAhrsBoard {};

TEST_F(HeadlessAhrsSixFace, BothProceduresComputeTheirCoefficientsFromSixFaces) {
    struct Procedure {
        const char* page;
        const char* sensor;  // as the log names it
        std::array<Ids, 6> faces;
        Ids offsets;
        Ids scales;
        // The shown unit of the face readings and of the computed offsets, in the board's unit.
        double unit;
        double faceNorm;  // about what each face reads, in the shown unit
        double faceNormTolerance;
        double offsetTolerance;  // in the board's unit
        sim::AxisCalibration sensorErrors;
        sim::AxisCalibration factory;
    };
    const std::array<Procedure, 2> procedures{{
        {"AHRS_ACC_CAL",
         "Acc",
         {{{1022, 1025, 1028},
           {1023, 1026, 1029},
           {1024, 1027, 1030},
           {1031, 1032, 1033},
           {1148, 1151, 1154},
           {1149, 1152, 1155}}},
         {1216, 1217, 1218},
         {1219, 1220, 1221},
         kG,
         1.0,
         0.05,
         0.02,
         {sim::kAccBias, sim::kAccScale},
         sim::kFactoryAcc},
        {"AHRS_MAG_CAL",
         "Mag",
         {{{1222, 1223, 1224},
           {1225, 1226, 1227},
           {1228, 1229, 1230},
           {1231, 1232, 1233},
           {1234, 1235, 1236},
           {1237, 1238, 1239}}},
         {1240, 1241, 1242},
         {1243, 1244, 1245},
         1.0,
         480,
         100,
         2,
         {sim::kMagOffset, sim::kMagScale},
         sim::kFactoryMag},
    }};
    ASSERT_NO_FATAL_FAILURE(Connect());
    for (const Procedure& p : procedures) {
        SCOPED_TRACE(p.page);
        Run(std::string("page ") + p.page);
        const std::string sensor = p.sensor;
        const auto faceNorm = [&](std::size_t face) {
            double sum = 0;
            for (int id : p.faces[face])
                sum += Number(id) * Number(id);
            return std::sqrt(sum);
        };
        for (std::size_t face = 0; face < 6; ++face)
            EXPECT_EQ(faceNorm(face), 0.0) << face;

        // Every reply carries all six faces, zero for those not read yet.
        for (std::size_t read = 0; read < 6; ++read) {
            Ask(CDlgSixFaceCal::kFaceButtons[read], "Read " + sensor + " Face");
            for (std::size_t face = 0; face < 6; ++face) {
                if (face <= read)
                    EXPECT_NEAR(faceNorm(face), p.faceNorm, p.faceNormTolerance) << face;
                else
                    EXPECT_EQ(faceNorm(face), 0.0) << face;
            }
        }

        Ask(CDlgSixFaceCal::kStartCal, sensor + " Six-Face Calculation");
        ExpectNear(p.offsets, p.sensorErrors.offset, p.offsetTolerance / p.unit, p.unit);
        ExpectNear(p.scales, p.sensorErrors.scale, 0.01);
        const Texts scales = TextsOf(p.scales);

        // The stored coefficients come with their offsets in the board's unit.
        Ask(CDlgSixFaceCal::kReadCal, "Read " + sensor + " Coefficients");
        ExpectNear(p.offsets, p.sensorErrors.offset, p.offsetTolerance);
        EXPECT_EQ(TextsOf(p.scales), scales);

        Ask(CDlgSixFaceCal::kDefault, "Default " + sensor + " Coefficients");
        Ask(CDlgSixFaceCal::kReadCal, "Read " + sensor + " Coefficients");
        ExpectNear(p.offsets, p.factory.offset, 1e-5);
        ExpectNear(p.scales, p.factory.scale, 1e-6);
    }
    ExpectNoTimeOut();
}

class HeadlessAhrsMenu : public HeadlessAhrsBoard {
protected:
    // The attitude rate pane 0 shows, or -1.
    int AhrsRate() {
        const std::string pane = app_->Pane(0);
        int rate = -1;
        char tail = 0;
        if (std::sscanf(pane.c_str(), "AHRS %d H%c", &rate, &tail) != 2 || tail != 'z') return -1;
        return rate;
    }
};

TEST_F(HeadlessAhrsMenu, AnItemOfEachBoardOptionIsAcknowledged) {
    struct Option {
        int command;
        const char* name;
    };
    // The last item of each submenu, whose code the board takes only if it is in range, except
    // for the output rate: 200 Hz.
    constexpr Option kOptions[] = {
        {1188, "Set Board Baud Rate"},  {1215, "Set Output Rate"},
        {1218, "Set Output Protocol"},  {1242, "Set Running Mode"},
        {1396, "Set Data Output Mode"}, {1238, "Set Mounting Direction"},
        {1248, "Set Gyro Range"},       {1251, "Set Acc Range"},
        {1258, "Set Mag Range"},
    };
    ASSERT_NO_FATAL_FAILURE(Connect());
    for (const Option& option : kOptions) {
        Send("menu " + std::to_string(option.command), option.name);
        if (option.command == 1188) {
            EXPECT_TRUE(Answered(option.name));
            EXPECT_NE(appDir_.Read("Config.ini").find("bps=256000"), std::string::npos);
        }
    }

    bool fast = false;
    for (int i = 0; i < 50 && !fast; ++i) {
        const int rate = AhrsRate();
        fast = rate >= 180 && rate <= 220;
        if (!fast) Run("wait 100");
    }
    EXPECT_TRUE(fast) << app_->Pane(0);
    ExpectNoTimeOut();
    // Only the baud rate's reply has a log line; the others just clear their requests. So the
    // log, emptied at its tenth line, holds the last three requests.
    EXPECT_EQ(app_->Listing("log"),
              (Lines{"**Set Gyro Range**", "**Set Acc Range**", "**Set Mag Range**"}));
}

class HeadlessAhrsView : public HeadlessAhrsBoard {};

TEST_F(HeadlessAhrsView, LiveTextFollowsTheBoardAndResetIsAcknowledged) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page AHRS_View");
    ASSERT_TRUE(app_->WaitUntil("get 1128", "MNorm:", 2s));
    const auto expectChange = [this] {
        const std::string before = Text(CDlgAHRS::kLiveText);
        bool changed = false;
        for (int i = 0; i < 50 && !changed; ++i) {
            Run("wait 20");
            changed = Text(CDlgAHRS::kLiveText) != before;
        }
        EXPECT_TRUE(changed) << before;
    };

    const std::string text = Text(CDlgAHRS::kLiveText);
    EXPECT_TRUE(text.starts_with(" Flags: 1 \\r\\n Roll:  ")) << text;
    const std::size_t norm = text.find("ANorm:");
    ASSERT_NE(norm, std::string::npos);
    EXPECT_NEAR(std::strtod(text.c_str() + norm + 6, nullptr), 1.0, 0.1) << text;
    expectChange();

    Send(CDlgAHRS::kReset, "AHRS Reset");
    ExpectNoTimeOut();
    expectChange();
}

}  // namespace
}  // namespace zephran::test
