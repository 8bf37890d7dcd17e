#pragma once

namespace zephran {

// Unit conversions of the board's values.
inline constexpr double kStandardGravity = 9.7873;  // m/s² per g
inline constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace zephran
