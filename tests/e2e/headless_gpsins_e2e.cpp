// The GPS/INS board's pages through the headless front end, against a simulated GPS/INS board
// on a pty: the misc settings and filter parameters go to the board and come back, and its
// telemetry reaches the navigation view, the AHRS view and the sensor-calibration page.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs.h"
#include "pages/autopilot/dlg_gpsins_setting.h"
#include "pages/autopilot/dlg_gpsins_setting_misc.h"
#include "pages/autopilot/dlg_gpsins_view.h"
#include "sim/gpsins_board.h"
#include "sim/gpsins_navigation.h"
#include "ui/data_exchange.h"

namespace zephran::test {
namespace {

using namespace std::chrono_literals;
using Misc = CDlgGPSINSSettingMisc;
using View = CDlgGPSINSView;

class HeadlessGpsIns : public HeadlessBoardTest {
protected:
    void Connect(const std::string& product = "GPSINS") {
        HeadlessBoardTest::Connect(product, "GPSINS");
    }
    std::string Text(int id) { return app_->Get(id).value_or("<no control>"); }
    bool Checked(Misc::Choice choice, int index) {
        const std::string id = std::to_string(Misc::kFirstRadio[choice] + index);
        return app_->Listing("checked " + id) == std::vector<std::string>{id + "=1"};
    }
    void Choose(Misc::Choice choice, int index) {
        Run("click " + std::to_string(Misc::kFirstRadio[choice] + index));
    }
    // The number after a label in a text, as "Label:   12.5".
    static double Value(const std::string& text, const std::string& label) {
        const auto at = text.find(" " + label + ":");
        EXPECT_NE(at, std::string::npos) << label << " in " << text;
        return at == std::string::npos ? 0.0
                                       : std::strtod(text.c_str() + at + label.size() + 2, nullptr);
    }
};

TEST_F(HeadlessGpsIns, MiscSettingsAreWrittenAndReadBack) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page GPSINS_Set_Misc");
    Ask(Misc::kRead, "Read GPS/INS Settings");
    EXPECT_TRUE(Checked(Misc::kDirection, 0));
    EXPECT_TRUE(Checked(Misc::kRunningMode, 2));
    EXPECT_TRUE(Checked(Misc::kCompassUpdate, 0));

    Choose(Misc::kDirection, 3);
    Choose(Misc::kRunningMode, 1);
    Choose(Misc::kVerticalVelocity, 1);
    Choose(Misc::kCompassUpdate, 1);
    Send(Misc::kWrite, "Write GPS/INS Settings");
    ExpectNoTimeOut();

    // An inverted direction cannot be chosen here.
    const Lines refused = app_->Command("click " + std::to_string(Misc::kFirstRadio[0] + 5));
    EXPECT_NE(refused.back(), "ok");
    Choose(Misc::kDirection, 0);
    Choose(Misc::kRunningMode, 2);
    Choose(Misc::kCompassUpdate, 0);
    Ask(Misc::kRead, "Read GPS/INS Settings");
    EXPECT_TRUE(Checked(Misc::kDirection, 3));
    EXPECT_TRUE(Checked(Misc::kRunningMode, 1));
    EXPECT_TRUE(Checked(Misc::kHorizontalVelocity, 0));
    EXPECT_TRUE(Checked(Misc::kVerticalVelocity, 1));
    EXPECT_TRUE(Checked(Misc::kAccelerationUpdate, 0));
    EXPECT_TRUE(Checked(Misc::kCompassUpdate, 1));
}

TEST_F(HeadlessGpsIns, FilterParametersAreWrittenReadBackAndReset) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page GPSINS_Set");
    using P = CDlgGPSINSSetting;
    const auto boxes = [&] {
        std::vector<std::string> texts;
        for (std::size_t n = 0; n < sim::gpsins::kQrCount; ++n)
            texts.push_back(Text(P::Box(n)));
        return texts;
    };
    std::vector<std::string> factory;
    for (double v : sim::gpsins::FactoryQr())
        factory.push_back(ui::FormatFloat(v, 15));
    Ask(P::kRead, "Read GPS/INS Parameters");
    EXPECT_EQ(boxes(), factory);

    std::vector<std::string> written;
    for (std::size_t n = 0; n < sim::gpsins::kQrCount; ++n) {
        written.push_back(ui::FormatFloat(0.5 + static_cast<double>(n), 15));
        Set(P::Box(n), written.back());
    }
    Send(P::kWrite, "Write GPS/INS Parameters");
    ExpectNoTimeOut();
    for (std::size_t n = 0; n < sim::gpsins::kQrCount; ++n)
        Set(P::Box(n), "0");
    Ask(P::kRead, "Read GPS/INS Parameters");
    EXPECT_EQ(boxes(), written);
    Send(P::kDefault, "Default GPS/INS Parameters");
    ExpectNoTimeOut();
    Ask(P::kRead, "Read GPS/INS Parameters");
    EXPECT_EQ(boxes(), factory);
}

TEST_F(HeadlessGpsIns, NavigationViewShowsAMovingSolutionAroundHome) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page GPSINS_View");
    ASSERT_TRUE(app_->WaitUntil("get " + std::to_string(View::kGpsRawText), "GPSFix:   3", 3s));
    const std::string nav = Text(View::kNavOutputText);
    EXPECT_TRUE(nav.starts_with(R"(    NavOutput\r\n Flags:   7 \r\n Lon:    121.47)")) << nav;
    EXPECT_NEAR(Value(nav, "Lat"), sim::kHomeLat, 0.003);
    EXPECT_NEAR(Value(nav, "Hmsl"), sim::kHomeHeight + 120, 11);
    EXPECT_NE(nav.find(R"( NumSV:    11\r\n KFHealth:    1 \r\n)"), std::string::npos) << nav;
    const std::string sensors = Text(View::kSensorsRawText);
    EXPECT_TRUE(sensors.starts_with(R"(    SensorsRaw\r\n Health:   15 \r\n)")) << sensors;
    EXPECT_NEAR(Value(sensors, "az"), -1.0, 0.1);
    const std::string gps = Text(View::kGpsRawText);
    EXPECT_NE(gps.find(R"( GPSFix:   3 \r\n)"), std::string::npos) << gps;
    EXPECT_NEAR(Value(gps, "GSpeed"), 15.0, 1e-3);
    // The texts agree: the GPS heading is the navigation yaw.
    const double yaw = Value(nav, "Yaw");
    const double heading = Value(gps, "Heading");
    EXPECT_NEAR(std::remainder(yaw - heading, 360.0), 0.0, 5.0);

    Run("wait 500");
    const std::string later = Text(View::kNavOutputText);
    EXPECT_NE(Value(later, "Lat") - Value(nav, "Lat"), 0.0);
    EXPECT_NE(Value(later, "Yaw"), yaw);
    Send(View::kReset, "AHRS Reset");
    ExpectNoTimeOut();
}

TEST_F(HeadlessGpsIns, TelemetryDrivesTheAhrsViewAndTheCalibrationReadings) {
    // The AHRS product's pages on a GPS/INS board.
    ASSERT_NO_FATAL_FAILURE(Connect("AHRS"));
    Run("page AHRS_View");
    ASSERT_TRUE(app_->WaitUntil("get " + std::to_string(CDlgAHRS::kLiveText), "mz:", 3s));
    const std::string text = Text(CDlgAHRS::kLiveText);
    EXPECT_TRUE(std::regex_search(text, std::regex(R"( Roll:  \d+\.\d{6} \\r\\n)"))) << text;
    EXPECT_EQ(text.find("ANorm"), std::string::npos);
    EXPECT_NEAR(Value(text, "Flags"), 7, 0);

    Run("page AHRS_Cal");
    ASSERT_TRUE(app_->WaitUntil("get 1162", ".", 2s));
    const std::array<int, 10> live{1022, 1025, 1028, 1024, 1027, 1030, 1148, 1149, 1150, 1162};
    for (int id : live)
        EXPECT_TRUE(std::regex_match(Text(id), std::regex(R"( *-?\d+\.\d{3})"))) << id;
    EXPECT_NEAR(std::strtod(Text(1162).c_str(), nullptr), 480, 0.5);
    EXPECT_NEAR(std::strtod(Text(1028).c_str(), nullptr), -1.0, 0.1);
}

TEST_F(HeadlessGpsIns, CalibrationRequestsAreAnsweredByTheBoard) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Run("page AHRS_Cal");
    Ask(1111, "Read Acc Cal");
    Ask(1133, "Read Mag Cal");
    EXPECT_NE(Text(1158), "1");
}

}  // namespace
}  // namespace zephran::test
