#include "pages/autopilot/dlg_airplane_outer_loop.h"

namespace zephran {

const CDlgAirplanePID::Table CDlgAirplaneOuterLoop::kTable{
    {{
        {19, 1100, "YAW2RUDD", "Heading → rudder (rudder turn)"},
        {22, 1130, "YAW2ROLL", "Heading → roll angle (aileron turn)"},
        {25, 1160, "HEIGHT2CLIMB", "Height error → climb rate"},
        {28, 1190, "CLIMB2PITCH", "Climb-rate error → pitch angle"},
        {31, 1220, "GSPEED2THRO", "Ground speed → throttle (GPS constant speed)"},
        {34, 1250, "AIRSPEED2THRO", "Airspeed → throttle (constant airspeed)"},
    }},
    {{
        {"TOTALP", "Total P:"},
        {"P", "P:"},
        {"I", "I:"},
        {"D", "D:"},
        {"ITHRESHOLD", "I threshold:"},
        {"MAXI", "I limit:"},
        {"INSLEW", "Input slew:"},
        {"OUTSLEW", "Output slew:"},
        {"DP", "DP:"},
        {"OUTMAX", "Output limit:"},
    }},
};

}  // namespace zephran
