#pragma once

#include <array>
#include <cstdint>

namespace zephran::sim {

using Vec3 = std::array<double, 3>;

inline constexpr double kGravity = 9.7873;  // m/s² per g
inline constexpr double kDegPerRad = 57.29577951308232;

// Orientation in degrees as yaw about the down axis, then pitch, then roll, of a body frame
// (x forward, y right, z down) over the north-east-down frame.
struct Attitude {
    double roll = 0;
    double pitch = 0;
    double yaw = 0;
};

// A north-east-down vector as the body axes see it.
Vec3 ToBody(const Attitude& attitude, const Vec3& nav);
// The body's angular rates while its angles change at the given rates, both in deg/s.
Vec3 BodyRates(const Attitude& attitude, const Attitude& angleRates);
// The angle in 0..360 degrees.
double WrapHeading(double degrees);

struct Pose {
    Attitude attitude;  // roll in -180..180, yaw in 0..360
    Vec3 rates{};       // body rates, deg/s
};

// How the simulated board is being moved.
enum class Motion {
    kWander,     // gentle roll and pitch swings on a slow turn: the board in use
    kRest,       // laid level and still
    kTumble,     // turned through every direction, for a compass calibration
    kLevelTurn,  // level, turning about the vertical
    kSideRest,   // lying on its right side, still
    kSideTurn,   // lying on its right side, turning about the vertical
};

// The board's orientation over board time in seconds. Each motion starts from the heading the
// previous one reached, so the yaw never jumps.
class AttitudeModel {
public:
    void Start(Motion motion, double now);
    Motion Current() const { return motion_; }
    Pose At(double now) const;

private:
    Motion motion_ = Motion::kWander;
    double since_ = 0;
    double heading_ = 30;
};

// The earth's field where the board is, in the magnetometer's unit (mG), north-east-down:
// 480 mG at an inclination of 62 degrees, no declination.
inline constexpr Vec3 kEarthField{225.35, 0.0, 423.81};

// The sensors' own errors, raw = scale * true + bias, which the board's calibrations find.
inline constexpr Vec3 kAccBias{0.12, -0.08, 0.20};  // m/s²
inline constexpr Vec3 kAccScale{1.01, 0.99, 1.02};
inline constexpr Vec3 kGyroBias{0.004, -0.003, 0.002};  // rad/s
inline constexpr Vec3 kMagOffset{35.0, -20.0, 12.0};    // mG
inline constexpr Vec3 kMagScale{1.06, 0.96, 0.98};      // their mean is 1

// Raw readings before calibration: specific force (m/s²), rates (rad/s), field (mG).
struct SensorReading {
    Vec3 acc{};
    Vec3 gyro{};
    Vec3 mag{};
};

// The board's moving body and the sensors on it.
class SimulatedImu {
public:
    Pose PoseAt(double now) const { return model_.At(now); }
    Motion Moving() const { return model_.Current(); }
    void Move(Motion motion, double now) { model_.Start(motion, now); }
    // What the sensors read in the pose, with a little deterministic noise.
    SensorReading Read(const Pose& pose);

private:
    double Noise(double amplitude);

    AttitudeModel model_;
    std::uint32_t noise_ = 0x2545F491;
};

}  // namespace zephran::sim
