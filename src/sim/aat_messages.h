#pragma once

#include <cstdint>

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
