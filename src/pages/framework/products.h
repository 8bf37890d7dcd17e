#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "pages/framework/page_host.h"

namespace zephran {

// A page of the page area: its class, tree key, language section and live code, in the order
// the pages are created.
struct PageIdentity {
    std::string_view className;
    std::string_view treeKey;
    std::string_view section;  // empty: no language texts
    int liveCode;
    bool titled;
    std::string_view builtInTitle;  // the template's own title
};

inline constexpr std::array<PageIdentity, 24> kPages{{
    {"CCalibrateDlg", "OSD_Calibrate", "DlgCalibrate", kPageNotLive, true, "OSD Calibration"},
    {"COSD", "OSD_Screen_Set", "DlgOSD", kPageNotLive, true, "OSD Screen Settings"},
    {"CIAPUpdateDlg", "Update_FirmwareUpdate", "DlgIAPUPDATE", kPageNotLive, true,
     "Firmware Update"},
    {"CMagCalDlg", "AAT_Mag_Cal", "DlgMagCal", kPageNotLive, true, "Tracker Compass Calibration"},
    {"CDlg_AAT_Communicate", "AAT_Communicate", "", kPageNotLive, false, "Tracker Live Data"},
    {"CAATServoSet", "AAT_Servo_Set", "DlgAATServoSet", kPageNotLive, true,
     "Tracker Motor Settings"},
    {"CDlgAHRS", "AHRS_View", "DlgAHRS", kPageAhrsView, false, "AHRS View"},
    {"CDlgSensorCalibrate", "AHRS_Cal", "DlgSensorCalibrate", kPageSensorCalibrate, false,
     "Sensor Calibration"},
    {"CDlgGPSINSView", "GPSINS_View", "DlgGPSINSView", kPageGpsInsView, true, "GPS/INS View"},
    {"CDialog_Data_Analyz", "Analyz", "DlgDataAnalyz", kPageNotLive, true, "Live Data Recording"},
    {"CDlgAHRSSetting", "AHRS_Set", "DlgAHRSSetting", kPageNotLive, true, "AHRS Settings"},
    {"CDlgGPSINSSetting", "GPSINS_Set", "DlgGPSINSSetting", kPageNotLive, true,
     "GPS/INS Filter Settings"},
    {"CDlgMulticopterMisc", "Multicopter_Misc", "DlgMulticopterMisc", kPageNotLive, true,
     "Multicopter Output"},
    {"CDlgGPSINSSettingMisc", "GPSINS_Set_Misc", "DlgGPSINSSettingMisc", kPageNotLive, true,
     "GPS/INS Misc Settings"},
    {"CDlgFIR", "AHRS_Set_FIR", "DlgAHRSSetFIR", kPageNotLive, true, "FIR Filters"},
    {"CDlgAcc6FaceCal", "AHRS_ACC_CAL", "DlgAcc6FaceCal", kPageNotLive, true,
     "Accelerometer Six-Face Calibration"},
    {"CDlgMag6FaceCal", "AHRS_MAG_CAL", "DlgMag6FaceCal", kPageNotLive, true,
     "Magnetometer Six-Face Calibration"},
    {"CDlgAirplanePIDInnerLoop", "Airplane_PID_Inner", "DlgAirplanePIDInnerLoop", kPageNotLive,
     true, "Inner-Loop PID"},
    {"CDlgAirplaneOuterLoop", "Airplane_PID_Outer", "DlgAirplanePIDOuterLoop", kPageNotLive, true,
     "Outer-Loop PID"},
    {"CDlgHeliAutopilot", "Helicopter_Autopilot", "", kPageNotLive, false, "Helicopter Autopilot"},
    {"CDlgHeliMouting", "Helicopter_Mouting", "", kPageNotLive, false, "Helicopter Mounting"},
    {"CDlgHeliRCCalibrate", "Helicopter_RCCal", "", kPageNotLive, false,
     "Helicopter RC Calibration"},
    {"CDlgHeliSwashplate", "Helicopter_SwashPlate", "", kPageNotLive, false,
     "Helicopter Swashplate"},
    {"CDlgHeliSystemCheck", "Helicopter_SystemCheck", "", kPageNotLive, false,
     "Helicopter System Check"},
}};

// The order in which a tree selection is matched against the pages' tree texts.
inline constexpr std::array<std::string_view, 24> kTreeMatchOrder{"OSD_Calibrate",
                                                                  "OSD_Screen_Set",
                                                                  "AAT_Mag_Cal",
                                                                  "AAT_Servo_Set",
                                                                  "AHRS_View",
                                                                  "AHRS_Cal",
                                                                  "GPSINS_View",
                                                                  "Analyz",
                                                                  "Update_FirmwareUpdate",
                                                                  "AHRS_Set",
                                                                  "GPSINS_Set",
                                                                  "Multicopter_Misc",
                                                                  "GPSINS_Set_Misc",
                                                                  "AHRS_Set_FIR",
                                                                  "AHRS_ACC_CAL",
                                                                  "AHRS_MAG_CAL",
                                                                  "Airplane_PID_Inner",
                                                                  "Airplane_PID_Outer",
                                                                  "Helicopter_Mouting",
                                                                  "Helicopter_RCCal",
                                                                  "Helicopter_SwashPlate",
                                                                  "Helicopter_SystemCheck",
                                                                  "Helicopter_Autopilot",
                                                                  "AAT_Communicate"};

// The pages whose texts a language change re-applies, in that order.
inline constexpr std::array<std::string_view, 18> kTextRefreshOrder{"CCalibrateDlg",
                                                                    "CIAPUpdateDlg",
                                                                    "COSD",
                                                                    "CMagCalDlg",
                                                                    "CAATServoSet",
                                                                    "CDlgAHRS",
                                                                    "CDlgSensorCalibrate",
                                                                    "CDialog_Data_Analyz",
                                                                    "CDlgAHRSSetting",
                                                                    "CDlgGPSINSView",
                                                                    "CDlgGPSINSSetting",
                                                                    "CDlgMulticopterMisc",
                                                                    "CDlgGPSINSSettingMisc",
                                                                    "CDlgFIR",
                                                                    "CDlgAcc6FaceCal",
                                                                    "CDlgMag6FaceCal",
                                                                    "CDlgAirplanePIDInnerLoop",
                                                                    "CDlgAirplaneOuterLoop"};

struct TreeNodeSpec {
    std::string_view key;
    std::vector<std::string_view> children;
};

struct ProductSpec {
    std::string_view value;  // "ProductSetting"/"Product"
    std::vector<TreeNodeSpec> nodes;
    std::string_view defaultPageClass;
    bool setsPageCode;  // whether showing the default page sets the active-page code
};

// The seven products with their page trees; every tree ends with the update node.
const std::vector<ProductSpec>& Products();
const ProductSpec* FindProduct(std::string_view value);
const TreeNodeSpec& UpdateNode();

}  // namespace zephran
