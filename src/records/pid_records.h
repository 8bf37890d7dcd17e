#pragma once

#include <cstddef>
#include <cstdint>

namespace zephran {

// The airplane autopilot's twelve PID controllers, each with its own record.
inline constexpr std::size_t kPidSetCount = 12;

#pragma pack(push, 1)

// One PID controller's gains and limits, the same layout in both directions.
struct PidSetRecord {
    std::uint8_t leading;
    float totalP;
    std::uint8_t p;
    std::uint8_t i;
    std::uint8_t d;
    float iThreshold;
    float maxI;
    float inSlew;
    float outSlew;
    float dp;
    float outMax;
};
static_assert(sizeof(PidSetRecord) == 32);

#pragma pack(pop)

}  // namespace zephran
