#pragma once

#include <cstdint>

namespace zephran {

#pragma pack(push, 1)

// The OSD calibration replies: a point reading in first alone, a calibration's bias and scale,
// or the RSSI range's minimum and maximum. The two-point writes send the same layout.
struct OsdCalRecord {
    float first;
    float second;
};
static_assert(sizeof(OsdCalRecord) == 8);

#pragma pack(pop)

}  // namespace zephran
