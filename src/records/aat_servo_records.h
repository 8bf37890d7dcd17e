#pragma once

#include <cstdint>

namespace zephran {

#pragma pack(push, 1)

// The pitch axis's two limit offsets, as read and as written.
struct AatOffsetRecord {
    std::int8_t horizontal;
    std::int8_t vertical;
};
static_assert(sizeof(AatOffsetRecord) == 2);

// The horizontal axis's controller, as read and as written.
struct AatYawPidRecord {
    float p;
    float i;
    float d;
    float integralThreshold;  // degrees
    float integralLimit;      // degrees
};
static_assert(sizeof(AatYawPidRecord) == 20);

#pragma pack(pop)

}  // namespace zephran
