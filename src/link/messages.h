#pragma once

#include "link/message.h"

// Every message of the catalogue, by name. Requests and routes name these; nothing else spells
// a message's numbers.
namespace zephran::msg {

// OSD voltage, current and RSSI calibration.
inline constexpr Message kSetCurrentBias{9, 1, "Set Current Bias"};
inline constexpr Message kOnePointCurrentCal{9, 2, "1Point Current Cal"};
inline constexpr Message kOnePointVoltageCal{9, 3, "1Point Voltage Cal"};
inline constexpr Message kReadCurrentCalAPoint{
    9, 4, "Read Current Cal a Point", true, ReplyRecord::kOsdCal, 4};
inline constexpr Message kReadCurrentCalBPoint{
    9, 5, "Read Current Cal b Point", true, ReplyRecord::kOsdCal, 4};
inline constexpr Message kSetCurrentCal{9, 6, "Set Current Cal"};
inline constexpr Message kReadCurrentCal{9, 7, "Read Current Cal", true, ReplyRecord::kOsdCal, 8};
inline constexpr Message kReadVoltageAPoint{
    9, 8, "Read Voltage A Point", true, ReplyRecord::kOsdCal, 4};
inline constexpr Message kReadVoltageBPoint{
    9, 9, "Read Voltage B Point", true, ReplyRecord::kOsdCal, 4};
inline constexpr Message kSetVoltageCal{9, 10, "Set Voltage Cal"};
inline constexpr Message kReadVoltageCal{9, 11, "Read Voltage Cal", true, ReplyRecord::kOsdCal, 8};
inline constexpr Message kSetDefaultCurrentCal{9, 12, "Set Default Current Cal"};
inline constexpr Message kSetDefaultVoltageCal{9, 13, "Set Default Voltage Cal"};
inline constexpr Message kReadRssiCal{9, 14, "Read RSSI Cal", true, ReplyRecord::kOsdCal, 8};
inline constexpr Message kStartRssiCal{9, 15, "Start RSSI Cal"};
inline constexpr Message kStopRssiCal{9, 16, "Stop RSSI Cal"};

// Antenna tracker.
inline constexpr Message kAatReadMag{11, 0, "AAT Read Mag", true, ReplyRecord::kAatMag, 36};
inline constexpr Message kAatStartMagCal{11, 1, "AAT Start Mag Cal"};
inline constexpr Message kAatStopMagCal{11, 2, "AAT Stop Mag Cal"};
inline constexpr Message kAatReadMagCalPara{
    11, 3, "AAT Read Mag Cal Para", true, ReplyRecord::kAatMagCal, 24};
inline constexpr Message kAatSetMagDefault{11, 4, "AAT Set Mag Default"};
inline constexpr Message kAatMotorSpeedRead{
    11, 5, "AAT Motor Speed Read", true, ReplyRecord::kAatMotorSpeed, 4};
inline constexpr Message kAatMotorSpeedSet{11, 6, "AAT Motor Speed Set"};
inline constexpr Message kAatReadCompassOffset{
    11, 7, "AAT Read Compass Offset", true, ReplyRecord::kAatCompassOffset, 4};
inline constexpr Message kAatSetCompassOffset{11, 8, "AAT Set Compass Offset"};
inline constexpr Message DL_ID_AAT{11, 11, "DL_ID_AAT", true, ReplyRecord::kAatStatus};
inline constexpr Message DL_ID_AAT_SERVO_SET_POWERON_SET{11, 17, "DL_ID_AAT_SERVO_SET_POWERON_SET"};
inline constexpr Message DL_ID_AAT_SERVO_READ_OFFSET_SET{
    11, 18, "DL_ID_AAT_SERVO_READ_OFFSET_SET", true, ReplyRecord::kAatOffsets, 2};
inline constexpr Message DL_ID_AAT_SERVO_SET_OFFSET{11, 19, "DL_ID_AAT_SERVO_SET_OFFSET"};
inline constexpr Message DL_ID_AAT_SERVO_SET_DEFAULT_OFFSET{11, 20,
                                                            "DL_ID_AAT_SERVO_SET_DEFAULT_OFFSET"};
inline constexpr Message DL_ID_AAT_SERVO_READ_STEP_SET{
    11, 21, "DL_ID_AAT_SERVO_READ_STEP_SET", true, ReplyRecord::kAatStep, 4};
inline constexpr Message DL_ID_AAT_SERVO_SET_STEP{11, 22, "DL_ID_AAT_SERVO_SET_STEP"};
inline constexpr Message DL_ID_AAT_SERVO_READ_YAW_PID_SET{
    11, 23, "DL_ID_AAT_SERVO_READ_YAW_PID_SET", true, ReplyRecord::kAatYawPid, 20};
inline constexpr Message DL_ID_AAT_SERVO_SET_YAW_PID{11, 24, "DL_ID_AAT_SERVO_SET_YAW_PID"};
inline constexpr Message DL_ID_AAT_SERVO_SET_DEFAULT_YAW_PID{11, 25,
                                                             "DL_ID_AAT_SERVO_SET_DEFAULT_YAW_PID"};
inline constexpr Message DL_ID_AAT_SERVO_READ_SERVO_GAP{
    11, 32, "DL_ID_AAT_SERVO_READ_SERVO_GAP", true, ReplyRecord::kAatServoGap, 4};
inline constexpr Message DL_ID_AAT_SERVO_SET_SERVO_GAP{11, 33, "DL_ID_AAT_SERVO_SET_SERVO_GAP"};

// Link control.
inline constexpr Message kCheckConnect{12, 1, "CheckConnect", true};
inline constexpr Message DL_ID_COMMUNICATE_SET_BPS{12, 2, "DL_ID_COMMUNICATE_SET_BPS", true};

// OSD screen settings.
inline constexpr Message kSetMainScreenMode{13, 1, "Set Main Screen Mode"};
inline constexpr Message kSetRadarMode{13, 2, "Set Radar Mode"};
inline constexpr Message kSetUnit{13, 3, "Set Unit"};
inline constexpr Message kSetRssiMode{13, 4, "Set RSSI Mode"};
inline constexpr Message DL_ID_OSD_SET_RSSI_INPUT_MODE{13, 5, "DL_ID_OSD_SET_RSSI_INPUT_MODE"};
inline constexpr Message DL_ID_OSD_SET_FLIGHT_SUMMURIZE{13, 6, "DL_ID_OSD_SET_FLIGHT_SUMMURIZE"};

// Firmware update.
inline constexpr Message kQueryUpdate{14, 0, "Query Update"};
inline constexpr Message kQueryData{14, 1, "Query Data"};

// Miniature AHRS.
inline constexpr Message DL_ID_AHRS_DATE_COME{
    15, 1, "DL_ID_AHRS_DATE_COME", false, ReplyRecord::kAhrsLive, 0, LiveStream::kAhrs};
inline constexpr Message DL_MINIAHRS_RESET{15, 2, "DL_MINIAHRS_RESET"};
inline constexpr Message DL_MINIAHRS_ACC_BEGIN_CAL{15, 3, "DL_MINIAHRS_ACC_BEGIN_CAL", true};
inline constexpr Message DL_MINIAHRS_ACC_STOP_CAL{15, 4, "DL_MINIAHRS_ACC_STOP_CAL", true,
                                                  ReplyRecord::kAccCal};
inline constexpr Message DL_MINIAHRS_ACC_READ_CAL{15, 5, "DL_MINIAHRS_ACC_READ_CAL", true,
                                                  ReplyRecord::kAccCal};
inline constexpr Message DL_MINIAHRS_ACC_SET_DEFAULT{15, 6, "DL_MINIAHRS_ACC_SET_DEFAULT"};
inline constexpr Message DL_MINIAHRS_GYGO_BEGIN_CAL{15, 7, "DL_MINIAHRS_GYGO_BEGIN_CAL", true};
inline constexpr Message DL_MINIAHRS_GYRO_STOP_CAL{15, 8, "DL_MINIAHRS_GYRO_STOP_CAL", true,
                                                   ReplyRecord::kGyroCal};
inline constexpr Message DL_MINIAHRS_GYRO_READ_CAL{15, 9, "DL_MINIAHRS_GYRO_READ_CAL", true,
                                                   ReplyRecord::kGyroCal};
inline constexpr Message DL_MINIAHRS_GYRO_SET_DEFAULT{15, 10, "DL_MINIAHRS_GYRO_SET_DEFAULT"};
inline constexpr Message DL_MINIAHRS_MAG_BEGIN_CAL{15, 11, "DL_MINIAHRS_MAG_BEGIN_CAL", true};
inline constexpr Message DL_MINIAHRS_MAG_STOP_CAL{15, 12, "DL_MINIAHRS_MAG_STOP_CAL", true,
                                                  ReplyRecord::kMagCal};
inline constexpr Message DL_MINIAHRS_MAG_READ_CAL{15, 13, "DL_MINIAHRS_MAG_READ_CAL", true,
                                                  ReplyRecord::kMagCal};
inline constexpr Message DL_MINIAHRS_MAG_SET_DEAFULT{15, 14, "DL_MINIAHRS_MAG_SET_DEAFULT"};
inline constexpr Message DL_MINIAHRS_MAG_NORTH_TRIM_READ{15, 15, "DL_MINIAHRS_MAG_NORTH_TRIM_READ",
                                                         true, ReplyRecord::kMagCal};
inline constexpr Message DL_MINIAHRS_MAG_NORTH_TRIM_SET{15, 16, "DL_MINIAHRS_MAG_NORTH_TRIM_SET"};
inline constexpr Message DL_MINIAHRS_MAG_NORTH_TRIM_SET_DEFAULT{
    15, 17, "DL_MINIAHRS_MAG_NORTH_TRIM_SET_DEFAULT"};
inline constexpr Message DL_MINIAHRS_MAG_CAL_COF{15, 18, "DL_MINIAHRS_MAG_CAL_COF", true,
                                                 ReplyRecord::kMagCal};
inline constexpr Message DL_MINIAHRS_MAG_USED{15, 19, "DL_MINIAHRS_MAG_USED"};
inline constexpr Message DL_MINIAHRS_OUTPUT_PROTOCOL{15, 20, "DL_MINIAHRS_OUTPUT_PROTOCOL"};
inline constexpr Message DL_MINIAHRS_OUTPUT_RATE{15, 21, "DL_MINIAHRS_OUTPUT_RATE"};
inline constexpr Message DL_MINIAHRS_MAG_3AXIS_START_CAL{15, 22, "DL_MINIAHRS_MAG_3AXIS_START_CAL",
                                                         true};
inline constexpr Message DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL{15, 23,
                                                          "DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL", true};
inline constexpr Message DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL{
    15, 24, "DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL", true};
inline constexpr Message DL_MINIAHRS_MAG_3AXIS_CAL_COF{15, 25, "DL_MINIAHRS_MAG_3AXIS_CAL_COF",
                                                       true, ReplyRecord::kMag3AxisCal};
inline constexpr Message DL_MINIAHRS_READ_QR_PARA{15, 32, "DL_MINIAHRS_READ_QR_PARA", true,
                                                  ReplyRecord::kAhrsParam};
inline constexpr Message DL_MINIAHRS_WRITE_QR_PARA{15, 33, "DL_MINIAHRS_WRITE_QR_PARA"};
inline constexpr Message DL_MINIAHRS_DEFAULT_QR_PARA{15, 34, "DL_MINIAHRS_DEFAULT_QR_PARA"};
inline constexpr Message DL_MINIAHRS_SET_IMU_DIRECTION_PARA{15, 35,
                                                            "DL_MINIAHRS_SET_IMU_DIRECTION_PARA"};
inline constexpr Message DL_MINIAHRS_SET_RUNINGMODE{15, 36, "DL_MINIAHRS_SET_RUNINGMODE"};
inline constexpr Message DL_MINIAHRS_SET_DATA_OUTPUT_MODE{15, 37,
                                                          "DL_MINIAHRS_SET_DATA_OUTPUT_MODE"};
inline constexpr Message DL_MINIAHRS_SET_FIR_GYRO{15, 38, "DL_MINIAHRS_SET_FIR_GYRO"};
inline constexpr Message DL_MINIAHRS_READ_FIR_GYRO{15, 39, "DL_MINIAHRS_READ_FIR_GYRO", true,
                                                   ReplyRecord::kFirGyro};
inline constexpr Message DL_MINIAHRS_DEFAULT_FIR_GYRO{15, 40, "DL_MINIAHRS_DEFAULT_FIR_GYRO"};
inline constexpr Message DL_MINIAHRS_SET_FIR_ACC{15, 41, "DL_MINIAHRS_SET_FIR_ACC"};
inline constexpr Message DL_MINIAHRS_READ_FIR_ACC{15, 48, "DL_MINIAHRS_READ_FIR_ACC", true,
                                                  ReplyRecord::kFirAcc};
inline constexpr Message DL_MINIAHRS_DEFAULT_FIR_ACC{15, 49, "DL_MINIAHRS_DEFAULT_FIR_ACC"};
inline constexpr Message DL_MINIAHRS_SET_FIR_MAG{15, 50, "DL_MINIAHRS_SET_FIR_MAG"};
inline constexpr Message DL_MINIAHRS_READ_FIR_MAG{15, 51, "DL_MINIAHRS_READ_FIR_MAG", true,
                                                  ReplyRecord::kFirMag};
inline constexpr Message DL_MINIAHRS_DEFAULT_FIR_MAG{15, 52, "DL_MINIAHRS_DEFAULT_FIR_MAG"};
inline constexpr Message DL_MINIAHRS_READ_ACC_6FACE{15, 53, "DL_MINIAHRS_READ_ACC_6FACE", true,
                                                    ReplyRecord::kAcc6Face};
inline constexpr Message DL_MINIAHRS_READ_ACC_6FACE_CAL{15, 54, "DL_MINIAHRS_READ_ACC_6FACE_CAL",
                                                        true, ReplyRecord::kAccCal};
inline constexpr Message DL_MINIAHRS_READ_ACC_CAL_COF{15, 55, "DL_MINIAHRS_READ_ACC_CAL_COF", true,
                                                      ReplyRecord::kAccCal};
inline constexpr Message DL_MINIAHRS_DEFAULT_ACC_CAL_COF{15, 56, "DL_MINIAHRS_DEFAULT_ACC_CAL_COF",
                                                         true};
inline constexpr Message DL_MINIAHRS_READ_MAG_6FACE{15, 57, "DL_MINIAHRS_READ_MAG_6FACE", true,
                                                    ReplyRecord::kMag6Face};
inline constexpr Message DL_MINIAHRS_READ_MAG_6FACE_CAL{15, 64, "DL_MINIAHRS_READ_MAG_6FACE_CAL",
                                                        true, ReplyRecord::kMag6FaceCal};
inline constexpr Message DL_MINIAHRS_READ_MAG_6FACE_CAL_COF{
    15, 65, "DL_MINIAHRS_READ_MAG_6FACE_CAL_COF", true, ReplyRecord::kMag6FaceCal};
inline constexpr Message DL_MINIAHRS_DEFAULT_MAG_6FACE_CAL_COF{
    15, 66, "DL_MINIAHRS_DEFAULT_MAG_6FACE_CAL_COF", true};
inline constexpr Message DL_MINIAHRS_GYRO_READ_CAL_SCALE{15, 67, "DL_MINIAHRS_GYRO_READ_CAL_SCALE",
                                                         true, ReplyRecord::kGyroCal};
inline constexpr Message DL_MINIAHRS_GYRO_SET_CAL_SCALE{15, 68, "DL_MINIAHRS_GYRO_SET_CAL_SCALE"};
inline constexpr Message DL_MINIAHRS_GYRO_SET_RANGE{15, 69, "DL_MINIAHRS_GYRO_SET_RANGE"};
inline constexpr Message DL_MINIAHRS_ACC_SET_RANGE{15, 70, "DL_MINIAHRS_ACC_SET_RANGE"};
inline constexpr Message DL_MINIAHRS_MAG_SET_RANGE{15, 71, "DL_MINIAHRS_MAG_SET_RANGE"};

// GPS/INS.
inline constexpr Message DL_GPSINS_SENSORRAW{
    16, 1, "DL_GPSINS_SENSORRAW", false, ReplyRecord::kSensorsRaw, 0, LiveStream::kSensorsRaw};
inline constexpr Message DL_GPSINS_GPSRAW{
    16, 2, "DL_GPSINS_GPSRAW", false, ReplyRecord::kGpsRaw, 0, LiveStream::kGpsRaw};
inline constexpr Message DL_GPSINS_NAVOUTPUT{
    16, 3, "DL_GPSINS_NAVOUTPUT", false, ReplyRecord::kNavOutput, 0, LiveStream::kNavOutput};
inline constexpr Message DL_GPSINS_QR_READ{16, 4, "DL_GPSINS_QR_READ", true,
                                           ReplyRecord::kGpsInsQr};
inline constexpr Message DL_GPSINS_QR_WRITE{16, 5, "DL_GPSINS_QR_WRITE"};
inline constexpr Message DL_GPSINS_QR_DEFAULT{16, 6, "DL_GPSINS_QR_DEFAULT"};
inline constexpr Message DL_GPSINS_MISC_READ{16, 7, "DL_GPSINS_MISC_READ", true,
                                             ReplyRecord::kGpsInsMisc};
inline constexpr Message DL_GPSINS_MISC_WRITE{16, 8, "DL_GPSINS_MISC_WRITE"};

// Multicopter.
inline constexpr Message DL_MUTICOPTER_GPSINS_DIRECT_OUTPUT{17, 1,
                                                            "DL_MUTICOPTER_GPSINS_DIRECT_OUTPUT"};

// Airplane autopilot PID controllers, group 18: read, write and default of each; a read reply
// fills the controller's own PID set record, `index`.
constexpr Message PidRead(std::uint8_t msgId, std::string_view name, std::uint8_t index) {
    return {18, msgId, name, true, ReplyRecord::kPidSet, 0, LiveStream::kNone, index};
}
constexpr Message PidRequest(std::uint8_t msgId, std::string_view name) {
    return {18, msgId, name};
}

inline constexpr Message DL_STANDARDOSD_PID_ROLLRATE2AILE_READ =
    PidRead(1, "DL_STANDARDOSD_PID_ROLLRATE2AILE_READ", 0);
inline constexpr Message DL_STANDARDOSD_PID_ROLLRATE2AILE_WRITE =
    PidRequest(2, "DL_STANDARDOSD_PID_ROLLRATE2AILE_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_ROLLRATE2AILE_DEFAULT =
    PidRequest(3, "DL_STANDARDOSD_PID_ROLLRATE2AILE_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_PITCHRATE2ELEV_READ =
    PidRead(4, "DL_STANDARDOSD_PID_PITCHRATE2ELEV_READ", 1);
inline constexpr Message DL_STANDARDOSD_PID_PITCHRATE2ELEV_WRITE =
    PidRequest(5, "DL_STANDARDOSD_PID_PITCHRATE2ELEV_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_PITCHRATE2ELEV_DEFAULT =
    PidRequest(6, "DL_STANDARDOSD_PID_PITCHRATE2ELEV_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_YAWRATE2RUDD_READ =
    PidRead(7, "DL_STANDARDOSD_PID_YAWRATE2RUDD_READ", 2);
inline constexpr Message DL_STANDARDOSD_PID_YAWRATE2RUDD_WRITE =
    PidRequest(8, "DL_STANDARDOSD_PID_YAWRATE2RUDD_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_YAWRATE2RUDD_DEFAULT =
    PidRequest(9, "DL_STANDARDOSD_PID_YAWRATE2RUDD_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_ROLL2AILE_READ =
    PidRead(10, "DL_STANDARDOSD_PID_ROLL2AILE_READ", 3);
inline constexpr Message DL_STANDARDOSD_PID_ROLL2AILE_WRITE =
    PidRequest(11, "DL_STANDARDOSD_PID_ROLL2AILE_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_ROLL2AILE_DEFAULT =
    PidRequest(12, "DL_STANDARDOSD_PID_ROLL2AILE_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_PITCH2ELEV_READ =
    PidRead(13, "DL_STANDARDOSD_PID_PITCH2ELEV_READ", 4);
inline constexpr Message DL_STANDARDOSD_PID_PITCH2ELEV_WRITE =
    PidRequest(14, "DL_STANDARDOSD_PID_PITCH2ELEV_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_PITCH2ELEV_DEFAULT =
    PidRequest(15, "DL_STANDARDOSD_PID_PITCH2ELEV_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_YAW2RUDD_READ =
    PidRead(16, "DL_STANDARDOSD_PID_YAW2RUDD_READ", 5);
inline constexpr Message DL_STANDARDOSD_PID_YAW2RUDD_WRITE =
    PidRequest(17, "DL_STANDARDOSD_PID_YAW2RUDD_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_YAW2RUDD_DEFAULT =
    PidRequest(18, "DL_STANDARDOSD_PID_YAW2RUDD_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_READ =
    PidRead(19, "DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_READ", 6);
inline constexpr Message DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_WRITE =
    PidRequest(20, "DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_DEFAULT =
    PidRequest(21, "DL_STANDARDOSD_PID_YAW2RUDDOUTLOOP_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_YAW2ROLL_READ =
    PidRead(22, "DL_STANDARDOSD_PID_YAW2ROLL_READ", 7);
inline constexpr Message DL_STANDARDOSD_PID_YAW2ROLL_WRITE =
    PidRequest(23, "DL_STANDARDOSD_PID_YAW2ROLL_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_YAW2ROLL_DEFAULT =
    PidRequest(24, "DL_STANDARDOSD_PID_YAW2ROLL_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_HEIGHT2CLIMB_READ =
    PidRead(25, "DL_STANDARDOSD_PID_HEIGHT2CLIMB_READ", 8);
inline constexpr Message DL_STANDARDOSD_PID_HEIGHT2CLIMB_WRITE =
    PidRequest(26, "DL_STANDARDOSD_PID_HEIGHT2CLIMB_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_HEIGHT2CLIMB_DEFAULT =
    PidRequest(27, "DL_STANDARDOSD_PID_HEIGHT2CLIMB_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_CLIMB2PITCH_READ =
    PidRead(28, "DL_STANDARDOSD_PID_CLIMB2PITCH_READ", 9);
inline constexpr Message DL_STANDARDOSD_PID_CLIMB2PITCH_WRITE =
    PidRequest(29, "DL_STANDARDOSD_PID_CLIMB2PITCH_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_CLIMB2PITCH_DEFAULT =
    PidRequest(30, "DL_STANDARDOSD_PID_CLIMB2PITCH_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_GSPEED2THRO_READ =
    PidRead(31, "DL_STANDARDOSD_PID_GSPEED2THRO_READ", 10);
inline constexpr Message DL_STANDARDOSD_PID_GSPEED2THRO_WRITE =
    PidRequest(32, "DL_STANDARDOSD_PID_GSPEED2THRO_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_GSPEED2THRO_DEFAULT =
    PidRequest(33, "DL_STANDARDOSD_PID_GSPEED2THRO_DEFAULT");
inline constexpr Message DL_STANDARDOSD_PID_AIRSPEED2THRO_READ =
    PidRead(34, "DL_STANDARDOSD_PID_AIRSPEED2THRO_READ", 11);
inline constexpr Message DL_STANDARDOSD_PID_AIRSPEED2THRO_WRITE =
    PidRequest(35, "DL_STANDARDOSD_PID_AIRSPEED2THRO_WRITE");
inline constexpr Message DL_STANDARDOSD_PID_AIRSPEED2THRO_DEFAULT =
    PidRequest(36, "DL_STANDARDOSD_PID_AIRSPEED2THRO_DEFAULT");

}  // namespace zephran::msg
