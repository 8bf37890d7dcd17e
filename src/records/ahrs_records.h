#pragma once

#include <cstdint>

namespace zephran {

#pragma pack(push, 1)

// The latest attitude and sensor values: AHRS live data, also written by the GPS/INS replies.
struct AhrsLiveRecord {
    std::uint8_t flags;
    float roll, pitch, yaw;  // degrees
    float gx, gy, gz;        // degrees per second
    float ax, ay, az;        // g
    float mx, my, mz;        // the board's magnetometer unit
};
static_assert(sizeof(AhrsLiveRecord) == 49);

// The attitude filter's noise parameters, read and written whole.
struct AhrsParamRecord {
    std::uint8_t leading;
    double gyroNoise;
    double accNoise;
    double compassNoise;
};
static_assert(sizeof(AhrsParamRecord) == 25);

// One sensor's FIR filter.
struct FirRecord {
    std::uint8_t leading;
    std::uint8_t taps;
    std::int16_t coefficients[32];
};
static_assert(sizeof(FirRecord) == 66);

// Calibration coefficients: offsets and scales per axis. The accelerometer's offsets are in
// m/s², the gyroscope's (its zero bias) in rad/s; the magnetometer's six-face result has the
// same layout.
struct CoefficientRecord {
    std::uint8_t leading;
    float offset[3];
    float scale[3];
};
static_assert(sizeof(CoefficientRecord) == 25);

// Magnetometer offsets, scales, extremes seen and the north trim (degrees).
struct MagCalRecord {
    std::uint8_t leading;
    float offset[3];
    float scale[3];
    float maximum[3];
    float minimum[3];
    float northTrim;
};
static_assert(sizeof(MagCalRecord) == 53);

// Progress report of the three-axis compass calibration.
struct Mag3AxisCalRecord {
    std::uint8_t board[25];
    float maximum[3];
    float minimum[3];
    std::uint8_t step;
    std::uint8_t progress;
};
static_assert(sizeof(Mag3AxisCalRecord) == 51);

// The six faces' accelerometer (m/s²) or magnetometer readings, face by face, x, y, z.
struct SixFaceRecord {
    std::uint8_t leading;
    float face[6][3];
};
static_assert(sizeof(SixFaceRecord) == 73);

#pragma pack(pop)

}  // namespace zephran
