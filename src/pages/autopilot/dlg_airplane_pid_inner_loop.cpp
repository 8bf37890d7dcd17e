#include "pages/autopilot/dlg_airplane_pid_inner_loop.h"

#include "link/messages.h"

namespace zephran {

const CDlgAirplanePID::Table CDlgAirplanePIDInnerLoop::kTable{
    {{
        // Only the first controller writes its integral-limit key with an inner underscore.
        {&msg::DL_STANDARDOSD_PID_ROLLRATE2AILE_READ, &msg::DL_STANDARDOSD_PID_ROLLRATE2AILE_WRITE,
         &msg::DL_STANDARDOSD_PID_ROLLRATE2AILE_DEFAULT, 1100, "ROLLRATE", "Roll rate → aileron",
         "MAX_I"},
        {&msg::DL_STANDARDOSD_PID_PITCHRATE2ELEV_READ,
         &msg::DL_STANDARDOSD_PID_PITCHRATE2ELEV_WRITE,
         &msg::DL_STANDARDOSD_PID_PITCHRATE2ELEV_DEFAULT, 1130, "PITCHRATE",
         "Pitch rate → elevator"},
        {&msg::DL_STANDARDOSD_PID_YAWRATE2RUDD_READ, &msg::DL_STANDARDOSD_PID_YAWRATE2RUDD_WRITE,
         &msg::DL_STANDARDOSD_PID_YAWRATE2RUDD_DEFAULT, 1160, "YAWRATE", "Yaw rate → rudder"},
        {&msg::DL_STANDARDOSD_PID_ROLL2AILE_READ, &msg::DL_STANDARDOSD_PID_ROLL2AILE_WRITE,
         &msg::DL_STANDARDOSD_PID_ROLL2AILE_DEFAULT, 1190, "ROLL", "Roll angle → aileron"},
        {&msg::DL_STANDARDOSD_PID_PITCH2ELEV_READ, &msg::DL_STANDARDOSD_PID_PITCH2ELEV_WRITE,
         &msg::DL_STANDARDOSD_PID_PITCH2ELEV_DEFAULT, 1220, "PITCH", "Pitch angle → elevator"},
        {&msg::DL_STANDARDOSD_PID_YAW2RUDD_READ, &msg::DL_STANDARDOSD_PID_YAW2RUDD_WRITE,
         &msg::DL_STANDARDOSD_PID_YAW2RUDD_DEFAULT, 1250, "YAW", "Heading → rudder"},
    }},
    {{
        {"TOTALP", "Total P:"},
        {"P", "P:"},
        {"I", "I:"},
        {"D", "D:"},
        {"I_THRESHOLD", "I threshold:"},
        {"MAXI", "Max I:"},
        {"IN_SLEW", "In slew:"},
        {"OUT_SLEW", "Out slew:"},
        {"DP", "DP:"},
        {"OUTMAX", "Max output:"},
    }},
};

}  // namespace zephran
