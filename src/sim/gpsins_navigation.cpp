#include "sim/gpsins_navigation.h"

#include <cmath>
#include <numbers>

namespace zephran::sim {
namespace {

constexpr double kRadius = 200;           // m
constexpr double kSpeed = 15;             // m/s along the circuit
constexpr double kCruiseHeight = 120;     // m above home
constexpr double kHeightSwing = 10;       // m
constexpr double kHeightPeriod = 40;      // s
constexpr double kEarthRadius = 6378137;  // m

double Radians(double degrees) {
    return degrees / kDegPerRad;
}

}  // namespace

std::array<double, 4> Quaternion(const Attitude& attitude) {
    const double cr = std::cos(Radians(attitude.roll) / 2),
                 sr = std::sin(Radians(attitude.roll) / 2);
    const double cp = std::cos(Radians(attitude.pitch) / 2);
    const double sp = std::sin(Radians(attitude.pitch) / 2);
    const double cy = std::cos(Radians(attitude.yaw) / 2), sy = std::sin(Radians(attitude.yaw) / 2);
    return {cr * cp * cy + sr * sp * sy, sr * cp * cy - cr * sp * sy, cr * sp * cy + sr * cp * sy,
            cr * cp * sy - sr * sp * cy};
}

NavigationState NavigationAt(double t) {
    const double turn = kSpeed / kRadius;  // rad/s
    const double around = turn * t;        // where on the circle, from north of home
    const double climbRate = 2 * std::numbers::pi / kHeightPeriod;

    NavigationState s;
    const double north = kRadius * std::cos(around);
    const double east = kRadius * std::sin(around);
    s.lat = kHomeLat + north / kEarthRadius * kDegPerRad;
    s.lon = kHomeLon + east / (kEarthRadius * std::cos(Radians(kHomeLat))) * kDegPerRad;
    s.height = kHomeHeight + kCruiseHeight + kHeightSwing * std::sin(climbRate * t);
    const double down = -kHeightSwing * climbRate * std::cos(climbRate * t);
    s.velocity = {-kSpeed * std::sin(around), kSpeed * std::cos(around), down};

    // Banked for the turn, nose along the flight path, heading along the track.
    const double bank = std::atan(kSpeed * turn / kGravity) * kDegPerRad;
    const double sinkAcceleration = kHeightSwing * climbRate * climbRate * std::sin(climbRate * t);
    s.attitude = {bank, std::atan(-down / kSpeed) * kDegPerRad,
                  WrapHeading(around * kDegPerRad + 90)};
    const double pitchRate =
        -(sinkAcceleration / kSpeed) / (1 + (down / kSpeed) * (down / kSpeed)) * kDegPerRad;
    const Vec3 rates = BodyRates(s.attitude, {0, pitchRate, turn * kDegPerRad});
    for (std::size_t i = 0; i < 3; ++i)
        s.rates[i] = Radians(rates[i]);
    s.q = Quaternion(s.attitude);

    const Vec3 acceleration{-kSpeed * turn * std::cos(around), -kSpeed * turn * std::sin(around),
                            sinkAcceleration};
    s.force = ToBody(s.attitude, {acceleration[0], acceleration[1], acceleration[2] - kGravity});
    s.field = ToBody(s.attitude, kEarthField);
    return s;
}

}  // namespace zephran::sim
