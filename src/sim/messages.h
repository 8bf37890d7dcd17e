#pragma once

#include <cstdint>

// The simulated boards' message ids, group by group. The application has a table of its own;
// the two share nothing, so that a mistake in one is caught by the other.
namespace zephran::sim {

// The board's text lines, the link control and the bootloader, on every board.
inline constexpr std::uint8_t kTextGroup = 1;
inline constexpr std::uint8_t kTextLineId = 0;
inline constexpr std::uint8_t kLinkControlGroup = 12;
inline constexpr std::uint8_t kConnectId = 1;
inline constexpr std::uint8_t kSetBaudId = 2;
inline constexpr std::uint8_t kUpdateGroup = 14;
inline constexpr std::uint8_t kUpdateStartId = 0;
inline constexpr std::uint8_t kUpdatePageId = 1;

}  // namespace zephran::sim

namespace zephran::sim::osd {

inline constexpr std::uint8_t kScreenGroup = 13;

// The current, voltage and RSSI calibrations.
inline constexpr std::uint8_t kCalGroup = 9;
enum : std::uint8_t {
    kSetCurrentBias = 1,
    kOnePointCurrent = 2,
    kOnePointVoltage = 3,
    kCurrentPointA = 4,
    kCurrentPointB = 5,
    kSetCurrentCal = 6,
    kReadCurrentCal = 7,
    kVoltagePointA = 8,
    kVoltagePointB = 9,
    kSetVoltageCal = 10,
    kReadVoltageCal = 11,
    kDefaultCurrentCal = 12,
    kDefaultVoltageCal = 13,
    kReadRssiCal = 14,
    kStartRssiCal = 15,
    kStopRssiCal = 16,
};

}  // namespace zephran::sim::osd

namespace zephran::sim::aat {

// The antenna tracker's group: its compass calibration and status reports, and its motor
// settings.
inline constexpr std::uint8_t kGroup = 11;

enum : std::uint8_t {
    kMagReport = 0,
    kStartCal = 1,
    kStopCal = 2,
    kReadCal = 3,
    kDefaultCal = 4,
    kReadSpeed = 5,
    kSetSpeed = 6,
    kReadCompassOffset = 7,
    kSetCompassOffset = 8,
    kStatus = 11,
    kSetPowerOn = 17,
    kReadOffsets = 18,
    kSetOffsets = 19,
    kDefaultOffsets = 20,
    kReadStep = 21,
    kSetStep = 22,
    kReadPid = 23,
    kSetPid = 24,
    kDefaultPid = 25,
    kReadServoGap = 32,
    kSetServoGap = 33,
};

}  // namespace zephran::sim::aat

namespace zephran::sim::ahrs {

inline constexpr std::uint8_t kGroup = 15;

// The messages of the AHRS group.
enum Id : std::uint8_t {
    kLiveData = 1,
    kReset = 2,
    kAccBeginCal = 3,
    kAccStopCal = 4,
    kAccReadCal = 5,
    kAccDefault = 6,
    kGyroBeginCal = 7,
    kGyroStopCal = 8,
    kGyroReadCal = 9,
    kGyroDefault = 10,
    kMagBeginCal = 11,
    kMagStopCal = 12,
    kMagReadCal = 13,
    kMagDefault = 14,
    kNorthTrimRead = 15,
    kNorthTrimSet = 16,
    kNorthTrimDefault = 17,
    kMagCalReport = 18,
    kMagUsed = 19,
    kOutputProtocol = 20,
    kOutputRate = 21,
    kMag3AxisStart = 22,
    kMag3AxisCancel = 23,
    kMag3AxisComplete = 24,
    kMag3AxisReport = 25,
    kReadNoise = 32,
    kWriteNoise = 33,
    kDefaultNoise = 34,
    kImuDirection = 35,
    kRunningMode = 36,
    kDataOutputMode = 37,
    kWriteGyroFir = 38,
    kReadGyroFir = 39,
    kDefaultGyroFir = 40,
    kWriteAccFir = 41,
    kReadAccFir = 48,
    kDefaultAccFir = 49,
    kWriteMagFir = 50,
    kReadMagFir = 51,
    kDefaultMagFir = 52,
    kReadAccFace = 53,
    kAccFaceCal = 54,
    kReadAccCof = 55,
    kDefaultAccCof = 56,
    kReadMagFace = 57,
    kMagFaceCal = 64,
    kReadMagFaceCof = 65,
    kDefaultMagFaceCof = 66,
    kGyroReadScale = 67,
    kGyroSetScale = 68,
    kGyroRange = 69,
    kAccRange = 70,
    kMagRange = 71,
};

}  // namespace zephran::sim::ahrs

namespace zephran::sim::gpsins {

inline constexpr std::uint8_t kGroup = 16;
inline constexpr std::uint8_t kSensorsRaw = 1, kGpsRaw = 2, kNavOutput = 3;
inline constexpr std::uint8_t kQrRead = 4, kQrWrite = 5, kQrDefault = 6;
inline constexpr std::uint8_t kMiscRead = 7, kMiscWrite = 8;

}  // namespace zephran::sim::gpsins

namespace zephran::sim::multicopter {

inline constexpr std::uint8_t kGroup = 17;
inline constexpr std::uint8_t kDirectOutput = 1;

}  // namespace zephran::sim::multicopter

namespace zephran::sim::autopilot {

// The airplane autopilot's PID controllers.
inline constexpr std::uint8_t kGroup = 18;

}  // namespace zephran::sim::autopilot
