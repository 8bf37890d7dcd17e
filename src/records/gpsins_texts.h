#pragma once

#include <array>
#include <string>

#include "records/gpsins_records.h"

namespace zephran {

// The GPS/INS view's three texts, kept current by the telemetry replies.
struct GpsInsTexts {
    std::string navOutput;
    std::string sensorsRaw;
    std::string gpsRaw;
};

// Roll, pitch and yaw in degrees.
struct Angles {
    float roll = 0, pitch = 0, yaw = 0;
};

// The attitude of a quaternion with its scalar first.
Angles QuaternionToAngles(const std::array<float, 4>& q);

// KFHealth as a whole number. Its four bytes are read as a float32: a normal number is the
// board's float, rounded to the nearest whole number and saturated to the int32 range. Any
// other pattern (zero, subnormal, infinite, NaN) is what a little-endian int32 looks like
// there (0..8388607 and -8388608..-1), so it is taken as that integer. Either encoding the
// board uses then prints its value.
int DecodeKfHealth(const std::uint8_t (&bytes)[4]);

std::string FormatSensorsRawText(const SensorsRawRecord& raw);
std::string FormatGpsRawText(const GpsRawRecord& raw);
std::string FormatNavOutputText(const NavOutputRecord& nav, const Angles& angles);

}  // namespace zephran
