#pragma once

#include <cstddef>
#include <cstdint>

namespace zephran {

// The navigation filter's noise parameters: four process noises (Q), then eight measurement
// noises (R).
inline constexpr std::size_t kGpsInsQCount = 4;
inline constexpr std::size_t kGpsInsQrCount = 12;

#pragma pack(push, 1)

// The QR parameter set, read and written whole.
struct GpsInsQrRecord {
    std::uint8_t leading;
    double params[kGpsInsQrCount];
};
static_assert(sizeof(GpsInsQrRecord) == 97);

// The misc settings: mounting direction, running mode and the four measurement updates the
// filter uses in GPSINS mode (0 enabled, 1 off). The compass choice comes before the
// acceleration choice.
struct GpsInsMiscRecord {
    std::uint8_t leading;
    std::uint8_t direction;
    std::uint8_t runningMode;
    std::uint8_t horizontalVelocity;
    std::uint8_t verticalVelocity;
    std::uint8_t compass;
    std::uint8_t acceleration;
};
static_assert(sizeof(GpsInsMiscRecord) == 7);

// Raw sensors: rates in rad/s, accelerations in m/s², the field, height above sea level.
struct SensorsRawRecord {
    std::uint8_t health;
    float gx, gy, gz;
    float ax, ay, az;
    float mx, my, mz;
    float hmsl;
};
static_assert(sizeof(SensorsRawRecord) == 41);

// The GPS receiver's solution. dataNewF is the board's new-data flag, cleared after the first
// navigation output that shows it.
struct GpsRawRecord {
    std::uint8_t dataNewF;
    std::int32_t itow;
    double lon, lat;
    float hmsl;
    std::uint8_t gpsFix;
    std::uint8_t flags;
    std::uint16_t pdop;  // hundredths
    std::uint8_t numSv;
    float velN, velE, velD;
    float speed;
    float gSpeed;
    float heading;
};
static_assert(sizeof(GpsRawRecord) == 54);

// The navigation filter's output: position, NED velocity, attitude quaternion (q0 scalar),
// body rates in rad/s, body accelerations, satellites and the filter's health.
struct NavOutputRecord {
    std::uint8_t flags;
    double lon, lat;
    float hmsl;
    float vccN, vccE, vccD;
    float q[4];
    float gyroX, gyroY, gyroZ;
    float accbX, accbY, accbZ;
    std::uint8_t numSv;
    std::uint8_t kfHealth[4];  // see DecodeKfHealth
};
static_assert(sizeof(NavOutputRecord) == 78);

// The navigation sample the recording reads: written by each navigation output (its attitude
// also by AHRS live data); byte 0 and offset 33 are never written.
struct NavigationSample {
    std::uint8_t unused;
    double lon, lat;
    float hmsl;
    float vccN, vccE, vccD;
    std::uint8_t reserved[4];
    float roll, pitch, yaw;  // degrees
    float q[4];
};
static_assert(sizeof(NavigationSample) == 65);

#pragma pack(pop)

}  // namespace zephran
