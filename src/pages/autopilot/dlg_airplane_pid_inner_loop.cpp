#include "pages/autopilot/dlg_airplane_pid_inner_loop.h"

namespace zephran {

const CDlgAirplanePID::Table CDlgAirplanePIDInnerLoop::kTable{
    {{
        // Only the first controller writes its integral-limit key with an inner underscore.
        {1, 1100, "ROLLRATE", "Roll rate → aileron", "MAX_I"},
        {4, 1130, "PITCHRATE", "Pitch rate → elevator"},
        {7, 1160, "YAWRATE", "Yaw rate → rudder"},
        {10, 1190, "ROLL", "Roll angle → aileron"},
        {13, 1220, "PITCH", "Pitch angle → elevator"},
        {16, 1250, "YAW", "Heading → rudder"},
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
