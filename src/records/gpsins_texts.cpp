#include "records/gpsins_texts.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "records/ahrs_units.h"

namespace zephran {
namespace {

double D(float value) {
    return static_cast<double>(value);
}

double Degrees(float radians) {
    return static_cast<double>(radians) * kDegreesPerRadian;
}

}  // namespace

Angles QuaternionToAngles(const std::array<float, 4>& q) {
    const double q0 = q[0], q1 = q[1], q2 = q[2], q3 = q[3];
    const double roll = std::atan2(2 * (q2 * q3 + q0 * q1), 1 - 2 * (q1 * q1 + q2 * q2));
    // Adding 0 turns the -0 of a level attitude into 0, so it shows as 0.0.
    const double pitch = -std::asin(std::clamp(2 * (q3 * q1 - q2 * q0), -1.0, 1.0)) + 0.0;
    const double yaw = std::atan2(2 * (q2 * q1 + q3 * q0), 1 - 2 * (q2 * q2 + q3 * q3));
    return {static_cast<float>(roll * kDegreesPerRadian),
            static_cast<float>(pitch * kDegreesPerRadian),
            static_cast<float>(yaw * kDegreesPerRadian)};
}

int DecodeKfHealth(const std::uint8_t (&bytes)[4]) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, bytes, sizeof bits);
    const float value = std::bit_cast<float>(bits);
    if (!std::isnormal(value)) return std::bit_cast<std::int32_t>(bits);
    constexpr double kHigh = std::numeric_limits<int>::max();
    constexpr double kLow = std::numeric_limits<int>::min();
    return static_cast<int>(std::clamp(std::round(D(value)), kLow, kHigh));
}

std::string FormatSensorsRawText(const SensorsRawRecord& raw) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "    SensorsRaw\r\n Health:   %i \r\n gx:    %6.3f \r\n gy:    %6.3f \r\n gz:   "
                  " %6.3f \r\n ax:    %6.3f \r\n ay:    %6.3f \r\n az:    %6.3f \r\n mx:    "
                  "%6.1f \r\n my:    %6.1f \r\n mz:    %6.1f \r\n HMSL:    %6.2f \r\n",
                  raw.health, Degrees(raw.gx), Degrees(raw.gy), Degrees(raw.gz),
                  D(raw.ax) / kStandardGravity, D(raw.ay) / kStandardGravity,
                  D(raw.az) / kStandardGravity, D(raw.mx), D(raw.my), D(raw.mz), D(raw.hmsl));
    return text;
}

std::string FormatGpsRawText(const GpsRawRecord& raw) {
    char text[640];
    std::snprintf(text, sizeof text,
                  "    GPSRaw\r\n DataNewF:   %i \r\n ITOW:    %i \r\n LON:    %11.8f \r\n LAT:    "
                  "%11.8f \r\n HMSL:    %6.3f \r\n GPSFix:   %i \r\n Flags:    %i \r\n PDOP:    "
                  "%6.2f \r\n NumSV:    %i \r\n VEL_N:    %6.3f \r\n VEL_E:    %6.3f \r\n VEL_D:  "
                  "  %6.3f \r\n Speed:    %6.3f \r\n GSpeed:    %6.3f \r\n Heading:    %6.2f \r\n",
                  raw.dataNewF, static_cast<int>(raw.itow), raw.lon, raw.lat, D(raw.hmsl),
                  raw.gpsFix, raw.flags, raw.pdop / 100.0, raw.numSv, D(raw.velN), D(raw.velE),
                  D(raw.velD), D(raw.speed), D(raw.gSpeed), D(raw.heading));
    return text;
}

std::string FormatNavOutputText(const NavOutputRecord& nav, const Angles& angles) {
    char text[768];
    std::snprintf(
        text, sizeof text,
        "    NavOutput\r\n Flags:   %i \r\n Lon:    %11.8f \r\n Lat:    %11.8f \r\n Hmsl:    %6.2f "
        "\r\n VccN:    %6.3f \r\n VccE:   %6.3f \r\n VccD:    %6.3f \r\n Roll:    %6.1f \r\n "
        "Pitch:    %6.1f \r\n Yaw:    %6.1f \r\n GyroX:    %6.2f \r\n GyroY:    %6.2f \r\n "
        "GyroZ:    %6.2f \r\n AccbX:    %6.3f \r\n AccbY:    %6.3f \r\n AccbZ:    %6.3f \r\n "
        "NumSV:    %i\r\n KFHealth:    %i \r\n",
        nav.flags, nav.lon, nav.lat, D(nav.hmsl), D(nav.vccN), D(nav.vccE), D(nav.vccD),
        D(angles.roll), D(angles.pitch), D(angles.yaw), Degrees(nav.gyroX), Degrees(nav.gyroY),
        Degrees(nav.gyroZ), D(nav.accbX), D(nav.accbY), D(nav.accbZ), nav.numSv,
        DecodeKfHealth(nav.kfHealth));
    return text;
}

}  // namespace zephran
