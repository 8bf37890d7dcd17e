#include "pages/framework/products.h"

namespace zephran {

const std::vector<ProductSpec>& Products() {
    static const std::vector<ProductSpec> products{
        {"Vantrel", {{"OSD", {"OSD_Calibrate", "OSD_Screen_Set"}}}, "COSD", true},
        {"Standard",
         {{"Airplane", {"Airplane_PID_Inner", "Airplane_PID_Outer"}}},
         "CDlgAirplanePIDInnerLoop",
         false},
        {"AAT",
         {{"AAT", {"AAT_Mag_Cal", "AAT_Servo_Set", "AAT_Communicate"}}},
         "CAATServoSet",
         true},
        {"AHRS",
         {{"AHRS",
           {"AHRS_View", "AHRS_Set", "AHRS_Set_FIR", "AHRS_Cal", "AHRS_ACC_CAL", "AHRS_MAG_CAL"}},
          {"Data_Analyz", {"Analyz"}}},
         "CDlgAHRS",
         true},
        {"GPSINS",
         {{"GPSINS",
           {"GPSINS_View", "GPSINS_Set", "GPSINS_Set_Misc", "AHRS_Cal", "AHRS_ACC_CAL",
            "AHRS_MAG_CAL"}},
          {"Data_Analyz", {"Analyz"}}},
         "CDlgGPSINSView",
         true},
        {"Multicopter", {{"Multicopter", {"Multicopter_Misc"}}}, "CDlgMulticopterMisc", false},
        {"Helicopter",
         {{"Helicopter",
           {"Helicopter_Mouting", "Helicopter_RCCal", "Helicopter_SwashPlate",
            "Helicopter_SystemCheck", "Helicopter_Autopilot"}}},
         "CDlgHeliAutopilot",
         false},
    };
    return products;
}

const ProductSpec* FindProduct(std::string_view value) {
    for (const ProductSpec& product : Products()) {
        if (product.value == value) return &product;
    }
    return nullptr;
}

const TreeNodeSpec& UpdateNode() {
    static const TreeNodeSpec update{"Update", {"Update_FirmwareUpdate"}};
    return update;
}

}  // namespace zephran
