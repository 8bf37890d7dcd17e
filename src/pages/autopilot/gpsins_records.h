#pragma once

#include <cstddef>
#include <cstdint>

namespace zephran {

// Messages of the GPS/INS board (group 16).
inline constexpr std::uint8_t kGpsInsGroup = 16;
inline constexpr std::uint8_t DL_GPSINS_SENSORRAW = 1;
inline constexpr std::uint8_t DL_GPSINS_GPSRAW = 2;
inline constexpr std::uint8_t DL_GPSINS_NAVOUTPUT = 3;
inline constexpr std::uint8_t DL_GPSINS_QR_READ = 4;
inline constexpr std::uint8_t DL_GPSINS_QR_WRITE = 5;
inline constexpr std::uint8_t DL_GPSINS_QR_DEFAULT = 6;
inline constexpr std::uint8_t DL_GPSINS_MISC_READ = 7;
inline constexpr std::uint8_t DL_GPSINS_MISC_WRITE = 8;

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
