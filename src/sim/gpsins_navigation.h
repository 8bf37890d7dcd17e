#pragma once

#include <array>

#include "sim/ahrs_model.h"

namespace zephran::sim {

// Where the simulated aircraft flies around: its home position.
inline constexpr double kHomeLat = 31.2304;   // degrees
inline constexpr double kHomeLon = 121.4737;  // degrees
inline constexpr double kHomeHeight = 12.0;   // metres above mean sea level

// The aircraft's state at one moment, all parts agreeing with each other.
struct NavigationState {
    double lat = 0, lon = 0;    // degrees
    double height = 0;          // metres above mean sea level
    Vec3 velocity{};            // north, east, down, m/s
    Attitude attitude;          // degrees, yaw in 0..360
    std::array<double, 4> q{};  // attitude quaternion, scalar first
    Vec3 rates{};               // body rates, rad/s
    Vec3 force{};               // specific force along the body axes, m/s²
    Vec3 field{};               // the earth's field along the body axes, mG
};

// A coordinated right-hand circuit around home, climbing and sinking gently, over board time in
// seconds.
NavigationState NavigationAt(double seconds);

// The quaternion (scalar first) of an attitude in degrees.
std::array<double, 4> Quaternion(const Attitude& attitude);

}  // namespace zephran::sim
