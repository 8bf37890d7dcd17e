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

#pragma pack(pop)

}  // namespace zephran
