#include "link/message_catalogue.h"

#include "link/messages.h"

namespace zephran {
namespace {

constexpr std::string_view kUnknown = "UnknowCMD";

constexpr Message kCatalogue[] = {
    msg::kSetCurrentBias,
    msg::kOnePointCurrentCal,
    msg::kOnePointVoltageCal,
    msg::kReadCurrentCalAPoint,
    msg::kReadCurrentCalBPoint,
    msg::kSetCurrentCal,
    msg::kReadCurrentCal,
    msg::kReadVoltageAPoint,
    msg::kReadVoltageBPoint,
    msg::kSetVoltageCal,
    msg::kReadVoltageCal,
    msg::kSetDefaultCurrentCal,
    msg::kSetDefaultVoltageCal,
    msg::kReadRssiCal,
    msg::kStartRssiCal,
    msg::kStopRssiCal,
    msg::kAatReadMag,
    msg::kAatStartMagCal,
    msg::kAatStopMagCal,
    msg::kAatReadMagCalPara,
    msg::kAatSetMagDefault,
    msg::kAatMotorSpeedRead,
    msg::kAatMotorSpeedSet,
    msg::kAatReadCompassOffset,
    msg::kAatSetCompassOffset,
    msg::DL_ID_AAT,
    msg::DL_ID_AAT_SERVO_SET_POWERON_SET,
    msg::DL_ID_AAT_SERVO_READ_OFFSET_SET,
    msg::DL_ID_AAT_SERVO_SET_OFFSET,
    msg::DL_ID_AAT_SERVO_SET_DEFAULT_OFFSET,
    msg::DL_ID_AAT_SERVO_READ_STEP_SET,
    msg::DL_ID_AAT_SERVO_SET_STEP,
    msg::DL_ID_AAT_SERVO_READ_YAW_PID_SET,
    msg::DL_ID_AAT_SERVO_SET_YAW_PID,
    msg::DL_ID_AAT_SERVO_SET_DEFAULT_YAW_PID,
    msg::DL_ID_AAT_SERVO_READ_SERVO_GAP,
    msg::DL_ID_AAT_SERVO_SET_SERVO_GAP,
    msg::kCheckConnect,
    msg::DL_ID_COMMUNICATE_SET_BPS,
    msg::kSetMainScreenMode,
    msg::kSetRadarMode,
    msg::kSetUnit,
    msg::kSetRssiMode,
    msg::DL_ID_OSD_SET_RSSI_INPUT_MODE,
    msg::DL_ID_OSD_SET_FLIGHT_SUMMURIZE,
    msg::kQueryUpdate,
    msg::kQueryData,
    msg::DL_ID_AHRS_DATE_COME,
    msg::DL_MINIAHRS_RESET,
    msg::DL_MINIAHRS_ACC_BEGIN_CAL,
    msg::DL_MINIAHRS_ACC_STOP_CAL,
    msg::DL_MINIAHRS_ACC_READ_CAL,
    msg::DL_MINIAHRS_ACC_SET_DEFAULT,
    msg::DL_MINIAHRS_GYGO_BEGIN_CAL,
    msg::DL_MINIAHRS_GYRO_STOP_CAL,
    msg::DL_MINIAHRS_GYRO_READ_CAL,
    msg::DL_MINIAHRS_GYRO_SET_DEFAULT,
    msg::DL_MINIAHRS_MAG_BEGIN_CAL,
    msg::DL_MINIAHRS_MAG_STOP_CAL,
    msg::DL_MINIAHRS_MAG_READ_CAL,
    msg::DL_MINIAHRS_MAG_SET_DEAFULT,
    msg::DL_MINIAHRS_MAG_NORTH_TRIM_READ,
    msg::DL_MINIAHRS_MAG_NORTH_TRIM_SET,
    msg::DL_MINIAHRS_MAG_NORTH_TRIM_SET_DEFAULT,
    msg::DL_MINIAHRS_MAG_CAL_COF,
    msg::DL_MINIAHRS_MAG_USED,
    msg::DL_MINIAHRS_OUTPUT_PROTOCOL,
    msg::DL_MINIAHRS_OUTPUT_RATE,
    msg::DL_MINIAHRS_MAG_3AXIS_START_CAL,
    msg::DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL,
    msg::DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL,
    msg::DL_MINIAHRS_MAG_3AXIS_CAL_COF,
    msg::DL_MINIAHRS_READ_QR_PARA,
    msg::DL_MINIAHRS_WRITE_QR_PARA,
    msg::DL_MINIAHRS_DEFAULT_QR_PARA,
    msg::DL_MINIAHRS_SET_IMU_DIRECTION_PARA,
    msg::DL_MINIAHRS_SET_RUNINGMODE,
    msg::DL_MINIAHRS_SET_DATA_OUTPUT_MODE,
    msg::DL_MINIAHRS_SET_FIR_GYRO,
    msg::DL_MINIAHRS_READ_FIR_GYRO,
    msg::DL_MINIAHRS_DEFAULT_FIR_GYRO,
    msg::DL_MINIAHRS_SET_FIR_ACC,
    msg::DL_MINIAHRS_READ_FIR_ACC,
    msg::DL_MINIAHRS_DEFAULT_FIR_ACC,
    msg::DL_MINIAHRS_SET_FIR_MAG,
    msg::DL_MINIAHRS_READ_FIR_MAG,
    msg::DL_MINIAHRS_DEFAULT_FIR_MAG,
    msg::DL_MINIAHRS_READ_ACC_6FACE,
    msg::DL_MINIAHRS_READ_ACC_6FACE_CAL,
    msg::DL_MINIAHRS_READ_ACC_CAL_COF,
    msg::DL_MINIAHRS_DEFAULT_ACC_CAL_COF,
    msg::DL_MINIAHRS_READ_MAG_6FACE,
    msg::DL_MINIAHRS_READ_MAG_6FACE_CAL,
    msg::DL_MINIAHRS_READ_MAG_6FACE_CAL_COF,
    msg::DL_MINIAHRS_DEFAULT_MAG_6FACE_CAL_COF,
    msg::DL_MINIAHRS_GYRO_READ_CAL_SCALE,
    msg::DL_MINIAHRS_GYRO_SET_CAL_SCALE,
    msg::DL_MINIAHRS_GYRO_SET_RANGE,
    msg::DL_MINIAHRS_ACC_SET_RANGE,
    msg::DL_MINIAHRS_MAG_SET_RANGE,
    msg::DL_GPSINS_SENSORRAW,
    msg::DL_GPSINS_GPSRAW,
    msg::DL_GPSINS_NAVOUTPUT,
    msg::DL_GPSINS_QR_READ,
    msg::DL_GPSINS_QR_WRITE,
    msg::DL_GPSINS_QR_DEFAULT,
    msg::DL_GPSINS_MISC_READ,
    msg::DL_GPSINS_MISC_WRITE,
    msg::DL_MUTICOPTER_GPSINS_DIRECT_OUTPUT,
    msg::DL_STANDARDOSD_PID_ROLLRATE2AILE_READ,
    msg::DL_STANDARDOSD_PID_ROLLRATE2AILE_WRITE,
    msg::DL_STANDARDOSD_PID_ROLLRATE2AILE_DEFAULT,
    msg::DL_STANDARDOSD_PID_PITCHRATE2ELEV_READ,
    msg::DL_STANDARDOSD_PID_PITCHRATE2ELEV_WRITE,
    msg::DL_STANDARDOSD_PID_PITCHRATE2ELEV_DEFAULT,
    msg::DL_STANDARDOSD_PID_YAWRATE2RUDD_READ,
    msg::DL_STANDARDOSD_PID_YAWRATE2RUDD_WRITE,
    msg::DL_STANDARDOSD_PID_YAWRATE2RUDD_DEFAULT,
    msg::DL_STANDARDOSD_PID_ROLL2AILE_READ,
    msg::DL_STANDARDOSD_PID_ROLL2AILE_WRITE,
    msg::DL_STANDARDOSD_PID_ROLL2AILE_DEFAULT,
    msg::DL_STANDARDOSD_PID_PITCH2ELEV_READ,
    msg::DL_STANDARDOSD_PID_PITCH2ELEV_WRITE,
    msg::DL_STANDARDOSD_PID_PITCH2ELEV_DEFAULT,
    msg::DL_STANDARDOSD_PID_YAW2RUDD_READ,
    msg::DL_STANDARDOSD_PID_YAW2RUDD_WRITE,
    msg::DL_STANDARDOSD_PID_YAW2RUDD_DEFAULT,
    msg::DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_READ,
    msg::DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_WRITE,
    msg::DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_DEFAULT,
    msg::DL_STANDARDOSD_PID_YAW2ROLL_READ,
    msg::DL_STANDARDOSD_PID_YAW2ROLL_WRITE,
    msg::DL_STANDARDOSD_PID_YAW2ROLL_DEFAULT,
    msg::DL_STANDARDOSD_PID_HEIGHT2CLIMB_READ,
    msg::DL_STANDARDOSD_PID_HEIGHT2CLIMB_WRITE,
    msg::DL_STANDARDOSD_PID_HEIGHT2CLIMB_DEFAULT,
    msg::DL_STANDARDOSD_PID_CLIMB2PITCH_READ,
    msg::DL_STANDARDOSD_PID_CLIMB2PITCH_WRITE,
    msg::DL_STANDARDOSD_PID_CLIMB2PITCH_DEFAULT,
    msg::DL_STANDARDOSD_PID_GSPEED2THRO_READ,
    msg::DL_STANDARDOSD_PID_GSPEED2THRO_WRITE,
    msg::DL_STANDARDOSD_PID_GSPEED2THRO_DEFAULT,
    msg::DL_STANDARDOSD_PID_AIRSPEED2THRO_READ,
    msg::DL_STANDARDOSD_PID_AIRSPEED2THRO_WRITE,
    msg::DL_STANDARDOSD_PID_AIRSPEED2THRO_DEFAULT,
};

// What a group does with replies the catalogue does not list, and whether it logs every reply
// before routing it. Groups not listed here name every message "UnknowCMD".
struct GroupRule {
    std::uint8_t group;
    bool logsEveryReply;
    bool namesUnlisted;
};
constexpr GroupRule kGroupRules[] = {
    {9, true, true},   {11, true, true},  {12, false, true},  {13, true, true},  {14, false, true},
    {15, false, true}, {16, false, true}, {17, false, false}, {18, true, false},
};

const GroupRule* RuleOf(std::uint8_t group) {
    for (const GroupRule& rule : kGroupRules) {
        if (rule.group == group) return &rule;
    }
    return nullptr;
}

}  // namespace

const Message* FindMessage(std::uint8_t group, std::uint8_t msgId) {
    for (const Message& m : kCatalogue) {
        if (m.Is(group, msgId)) return &m;
    }
    return nullptr;
}

bool LogsEveryReply(std::uint8_t group) {
    const GroupRule* rule = RuleOf(group);
    return rule && rule->logsEveryReply;
}

std::string_view CatalogueKey(std::uint8_t group, std::uint8_t msgId) {
    if (const Message* m = FindMessage(group, msgId)) return m->name;
    const GroupRule* rule = RuleOf(group);
    return !rule || rule->namesUnlisted ? kUnknown : std::string_view();
}

std::span<const Message> CatalogueMessages() {
    return kCatalogue;
}

std::string MessageName(const TextSource& texts, std::uint8_t group, std::uint8_t msgId) {
    const auto key = CatalogueKey(group, msgId);
    return key.empty() ? std::string() : texts.LangText(kCommunicateState, key);
}

}  // namespace zephran
