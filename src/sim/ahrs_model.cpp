#include "sim/ahrs_model.h"

#include <cmath>
#include <numbers>

namespace zephran::sim {
namespace {

// A sinusoidal swing of an angle: amplitude in degrees, period in seconds.
struct Swing {
    double amplitude;
    double period;
};

constexpr Swing kWanderRoll{15, 7};
constexpr Swing kWanderPitch{10, 11};
constexpr Swing kTumblePitch{80, 5.3};
constexpr double kWanderTurn = 6;         // deg/s
constexpr double kTumbleRoll = 97;        // deg/s
constexpr double kTumbleTurn = 41;        // deg/s
constexpr double kCalibrationTurn = 120;  // deg/s: a full turn in three seconds

constexpr double kAccNoise = 0.01;     // m/s²
constexpr double kGyroNoise = 0.0005;  // rad/s
constexpr double kMagNoise = 0.4;      // mG

double Radians(double degrees) {
    return degrees / kDegPerRad;
}

void SwingAt(const Swing& swing, double t, double& angle, double& rate) {
    const double w = 2 * std::numbers::pi / swing.period;
    angle = swing.amplitude * std::sin(w * t);
    rate = swing.amplitude * w * std::cos(w * t);
}

// The angle in -180..180 degrees.
double WrapSigned(double degrees) {
    return WrapHeading(degrees + 180) - 180;
}

}  // namespace

Vec3 ToBody(const Attitude& attitude, const Vec3& nav) {
    const double cr = std::cos(Radians(attitude.roll));
    const double sr = std::sin(Radians(attitude.roll));
    const double cp = std::cos(Radians(attitude.pitch));
    const double sp = std::sin(Radians(attitude.pitch));
    const double cy = std::cos(Radians(attitude.yaw));
    const double sy = std::sin(Radians(attitude.yaw));
    // Undo yaw, then pitch, then roll.
    const double x1 = cy * nav[0] + sy * nav[1];
    const double y1 = -sy * nav[0] + cy * nav[1];
    const double x2 = cp * x1 - sp * nav[2];
    const double z2 = sp * x1 + cp * nav[2];
    return {x2, cr * y1 + sr * z2, -sr * y1 + cr * z2};
}

Vec3 BodyRates(const Attitude& attitude, const Attitude& angleRates) {
    const double cr = std::cos(Radians(attitude.roll));
    const double sr = std::sin(Radians(attitude.roll));
    const double cp = std::cos(Radians(attitude.pitch));
    const double sp = std::sin(Radians(attitude.pitch));
    return {angleRates.roll - angleRates.yaw * sp, angleRates.pitch * cr + angleRates.yaw * cp * sr,
            -angleRates.pitch * sr + angleRates.yaw * cp * cr};
}

double WrapHeading(double degrees) {
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360 : wrapped;
}

void AttitudeModel::Start(Motion motion, double now) {
    heading_ = At(now).attitude.yaw;
    motion_ = motion;
    since_ = now;
}

Pose AttitudeModel::At(double now) const {
    const double t = now - since_;
    Attitude angles;
    Attitude rates;
    switch (motion_) {
        case Motion::kWander:
            SwingAt(kWanderRoll, t, angles.roll, rates.roll);
            SwingAt(kWanderPitch, t, angles.pitch, rates.pitch);
            rates.yaw = kWanderTurn;
            break;
        case Motion::kRest:
            break;
        case Motion::kTumble:
            angles.roll = WrapSigned(kTumbleRoll * t);
            rates.roll = kTumbleRoll;
            SwingAt(kTumblePitch, t, angles.pitch, rates.pitch);
            rates.yaw = kTumbleTurn;
            break;
        case Motion::kLevelTurn:
            rates.yaw = kCalibrationTurn;
            break;
        case Motion::kSideRest:
            angles.roll = 90;
            break;
        case Motion::kSideTurn:
            angles.roll = 90;
            rates.yaw = kCalibrationTurn;
            break;
    }
    // Every motion turns at a steady rate.
    angles.yaw = WrapHeading(heading_ + rates.yaw * t);
    return {angles, BodyRates(angles, rates)};
}

SensorReading SimulatedImu::Read(const Pose& pose) {
    const Vec3 force = ToBody(pose.attitude, {0, 0, -kGravity});
    const Vec3 field = ToBody(pose.attitude, kEarthField);
    SensorReading raw;
    for (std::size_t i = 0; i < 3; ++i) {
        raw.acc[i] = kAccScale[i] * force[i] + kAccBias[i] + Noise(kAccNoise);
        raw.gyro[i] = Radians(pose.rates[i]) + kGyroBias[i] + Noise(kGyroNoise);
        raw.mag[i] = kMagScale[i] * field[i] + kMagOffset[i] + Noise(kMagNoise);
    }
    return raw;
}

double SimulatedImu::Noise(double amplitude) {
    // xorshift32, spread over -amplitude..amplitude.
    noise_ ^= noise_ << 13;
    noise_ ^= noise_ >> 17;
    noise_ ^= noise_ << 5;
    return amplitude * (2.0 * noise_ / 4294967296.0 - 1.0);
}

}  // namespace zephran::sim
