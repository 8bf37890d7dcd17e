#pragma once

#include <cstdint>

namespace zephran {

#pragma pack(push, 1)

// The tracker's compass as it turns: current, minimum and maximum of x, y and z.
struct AatMagRecord {
    float current[3];
    float minimum[3];
    float maximum[3];
};
static_assert(sizeof(AatMagRecord) == 36);

// The compass calibration the tracker derived: offsets, then scales, of x, y and z.
struct AatMagCalRecord {
    float offset[3];
    float scale[3];
};
static_assert(sizeof(AatMagCalRecord) == 24);

// What the tracker reports about itself: its attitude in hundredths of a degree, its position
// in 1e-7 degree and its altitude.
struct AatStatusRecord {
    std::int16_t pitch;
    std::int16_t yaw;
    std::int32_t latitude;
    std::int32_t longitude;
    std::int16_t altitude;
};
static_assert(sizeof(AatStatusRecord) == 14);

#pragma pack(pop)

}  // namespace zephran
