#include "pages/autopilot/dlg_airplane_outer_loop.h"

#include "link/messages.h"

namespace zephran {

const CDlgAirplanePID::Table CDlgAirplaneOuterLoop::kTable{
    {{
        {&msg::DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_READ,
         &msg::DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_WRITE,
         &msg::DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_DEFAULT, 1100, "YAW2RUDD",
         "Heading → rudder (rudder turn)"},
        {&msg::DL_STANDARDOSD_PID_YAW2ROLL_READ, &msg::DL_STANDARDOSD_PID_YAW2ROLL_WRITE,
         &msg::DL_STANDARDOSD_PID_YAW2ROLL_DEFAULT, 1130, "YAW2ROLL",
         "Heading → roll angle (aileron turn)"},
        {&msg::DL_STANDARDOSD_PID_HEIGHT2CLIMB_READ, &msg::DL_STANDARDOSD_PID_HEIGHT2CLIMB_WRITE,
         &msg::DL_STANDARDOSD_PID_HEIGHT2CLIMB_DEFAULT, 1160, "HEIGHT2CLIMB",
         "Height error → climb rate"},
        {&msg::DL_STANDARDOSD_PID_CLIMB2PITCH_READ, &msg::DL_STANDARDOSD_PID_CLIMB2PITCH_WRITE,
         &msg::DL_STANDARDOSD_PID_CLIMB2PITCH_DEFAULT, 1190, "CLIMB2PITCH",
         "Climb-rate error → pitch angle"},
        {&msg::DL_STANDARDOSD_PID_GSPEED2THRO_READ, &msg::DL_STANDARDOSD_PID_GSPEED2THRO_WRITE,
         &msg::DL_STANDARDOSD_PID_GSPEED2THRO_DEFAULT, 1220, "GSPEED2THRO",
         "Ground speed → throttle (GPS constant speed)"},
        {&msg::DL_STANDARDOSD_PID_AIRSPEED2THRO_READ, &msg::DL_STANDARDOSD_PID_AIRSPEED2THRO_WRITE,
         &msg::DL_STANDARDOSD_PID_AIRSPEED2THRO_DEFAULT, 1250, "AIRSPEED2THRO",
         "Airspeed → throttle (constant airspeed)"},
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
