#pragma once

#include <cstdint>

namespace zephran {

#pragma pack(push, 1)

// The latest navigation values a recording takes: written by the GPS/INS navigation output
// (position, velocities, attitude and quaternion) and by the AHRS live data (attitude only).
// The leading byte and the four bytes after VccD are never written.
struct NavigationSample {
    std::uint8_t unused0;
    double lon;
    double lat;
    float hmsl;
    float vccN, vccE, vccD;  // m/s
    std::uint8_t unused33[4];
    float roll, pitch, yaw;  // degrees
    float q0, q1, q2, q3;
};
static_assert(sizeof(NavigationSample) == 65);

#pragma pack(pop)

}  // namespace zephran
