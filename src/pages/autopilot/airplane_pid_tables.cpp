#include "link/messages.h"
#include "pages/autopilot/dlg_airplane_pid.h"

namespace zephran {

using namespace msg;

const CDlgAirplanePID::Table kInnerLoopControllers{
    {{
        // Only the first controller writes its integral-limit key with an inner underscore.
        {&DL_STANDARDOSD_PID_ROLLRATE2AILE_READ, &DL_STANDARDOSD_PID_ROLLRATE2AILE_WRITE,
         &DL_STANDARDOSD_PID_ROLLRATE2AILE_DEFAULT, 1100, "ROLLRATE", "Roll rate → aileron",
         "MAX_I"},
        {&DL_STANDARDOSD_PID_PITCHRATE2ELEV_READ, &DL_STANDARDOSD_PID_PITCHRATE2ELEV_WRITE,
         &DL_STANDARDOSD_PID_PITCHRATE2ELEV_DEFAULT, 1130, "PITCHRATE", "Pitch rate → elevator"},
        {&DL_STANDARDOSD_PID_YAWRATE2RUDD_READ, &DL_STANDARDOSD_PID_YAWRATE2RUDD_WRITE,
         &DL_STANDARDOSD_PID_YAWRATE2RUDD_DEFAULT, 1160, "YAWRATE", "Yaw rate → rudder"},
        {&DL_STANDARDOSD_PID_ROLL2AILE_READ, &DL_STANDARDOSD_PID_ROLL2AILE_WRITE,
         &DL_STANDARDOSD_PID_ROLL2AILE_DEFAULT, 1190, "ROLL", "Roll angle → aileron"},
        {&DL_STANDARDOSD_PID_PITCH2ELEV_READ, &DL_STANDARDOSD_PID_PITCH2ELEV_WRITE,
         &DL_STANDARDOSD_PID_PITCH2ELEV_DEFAULT, 1220, "PITCH", "Pitch angle → elevator"},
        {&DL_STANDARDOSD_PID_YAW2RUDD_READ, &DL_STANDARDOSD_PID_YAW2RUDD_WRITE,
         &DL_STANDARDOSD_PID_YAW2RUDD_DEFAULT, 1250, "YAW", "Heading → rudder"},
    }},
    {{{"TOTALP", "Total P:"},
      {"P", "P:"},
      {"I", "I:"},
      {"D", "D:"},
      {"I_THRESHOLD", "I threshold:"},
      {"MAXI", "Max I:"},
      {"IN_SLEW", "In slew:"},
      {"OUT_SLEW", "Out slew:"},
      {"DP", "DP:"},
      {"OUTMAX", "Max output:"}}},
};

const CDlgAirplanePID::Table kOuterLoopControllers{
    {{
        {&DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_READ, &DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_WRITE,
         &DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_DEFAULT, 1100, "YAW2RUDD",
         "Heading → rudder (rudder turn)"},
        {&DL_STANDARDOSD_PID_YAW2ROLL_READ, &DL_STANDARDOSD_PID_YAW2ROLL_WRITE,
         &DL_STANDARDOSD_PID_YAW2ROLL_DEFAULT, 1130, "YAW2ROLL",
         "Heading → roll angle (aileron turn)"},
        {&DL_STANDARDOSD_PID_HEIGHT2CLIMB_READ, &DL_STANDARDOSD_PID_HEIGHT2CLIMB_WRITE,
         &DL_STANDARDOSD_PID_HEIGHT2CLIMB_DEFAULT, 1160, "HEIGHT2CLIMB",
         "Height error → climb rate"},
        {&DL_STANDARDOSD_PID_CLIMB2PITCH_READ, &DL_STANDARDOSD_PID_CLIMB2PITCH_WRITE,
         &DL_STANDARDOSD_PID_CLIMB2PITCH_DEFAULT, 1190, "CLIMB2PITCH",
         "Climb-rate error → pitch angle"},
        {&DL_STANDARDOSD_PID_GSPEED2THRO_READ, &DL_STANDARDOSD_PID_GSPEED2THRO_WRITE,
         &DL_STANDARDOSD_PID_GSPEED2THRO_DEFAULT, 1220, "GSPEED2THRO",
         "Ground speed → throttle (GPS constant speed)"},
        {&DL_STANDARDOSD_PID_AIRSPEED2THRO_READ, &DL_STANDARDOSD_PID_AIRSPEED2THRO_WRITE,
         &DL_STANDARDOSD_PID_AIRSPEED2THRO_DEFAULT, 1250, "AIRSPEED2THRO",
         "Airspeed → throttle (constant airspeed)"},
    }},
    {{{"TOTALP", "Total P:"},
      {"P", "P:"},
      {"I", "I:"},
      {"D", "D:"},
      {"ITHRESHOLD", "I threshold:"},
      {"MAXI", "I limit:"},
      {"INSLEW", "Input slew:"},
      {"OUTSLEW", "Output slew:"},
      {"DP", "DP:"},
      {"OUTMAX", "Output limit:"}}},
};

}  // namespace zephran
