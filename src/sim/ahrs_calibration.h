#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "sim/ahrs_model.h"
#include "sim/board.h"

namespace zephran::sim {

// Per-axis correction of a raw sensor: (raw - offset) / scale.
struct AxisCalibration {
    Vec3 offset{};
    Vec3 scale{1, 1, 1};

    Vec3 Apply(const Vec3& raw) const;
};

// The factory calibration: close to the sensors' errors though not quite, so that the board's
// own calibrations improve on it.
inline constexpr AxisCalibration kFactoryAcc{{0.09, -0.05, 0.23}, {1.007, 0.993, 1.017}};
inline constexpr AxisCalibration kFactoryGyro{{0.0035, -0.0025, 0.0015}, {1, 1, 1}};
inline constexpr AxisCalibration kFactoryMag{{32, -17, 15}, {1.05, 0.97, 0.99}};

// The coefficients the board applies to its sensors; every procedure and every default of one
// sensor changes the same set.
struct SensorCoefficients {
    AxisCalibration acc = kFactoryAcc;    // offsets in m/s²
    AxisCalibration gyro = kFactoryGyro;  // offsets in rad/s
    AxisCalibration mag = kFactoryMag;
    double northTrim = 0;  // degrees added to the heading
};

// The calibrations the AHRS board runs on request: accelerometer level, gyroscope zero bias,
// magnetometer (turned in every direction, fitted with an ellipsoid), the three-axis compass
// procedure, and the accelerometer and magnetometer six-face procedures. One procedure runs at a
// time; beginning one abandons another. While one runs the board is moved as the procedure wants
// it.
class AhrsCalibration {
public:
    explicit AhrsCalibration(SimulatedImu& imu) : imu_(imu) {}

    // Registers the requests; this object must stay alive as long as the board handles them.
    void Install(Board& board);

    const SensorCoefficients& Coefficients() const { return coefficients_; }
    bool Running() const { return running_ != Procedure::kNone; }
    // What a restart of the board does: a running procedure ends without a result and the
    // six-face readings are forgotten.
    void Reset(Board& board);

private:
    enum class Procedure { kNone, kAccLevel, kGyroZero, kMag, kMag3Axis };

    // Largest and smallest reading of each axis so far.
    struct Extremes {
        Vec3 high{};
        Vec3 low{};
        std::array<bool, 3> seen{};

        void Add(const Vec3& reading, const std::array<bool, 3>& axes);
        std::optional<AxisCalibration> Fit() const;
    };

    // Least-squares fit of an axis-aligned ellipsoid a x² + b y² + c z² + d x + e y + f z = 1 to
    // the readings, which needs no reading to lie on an axis.
    class EllipsoidFit {
    public:
        void Add(const Vec3& reading);
        std::optional<AxisCalibration> Solve() const;

    private:
        std::array<std::array<double, 6>, 6> normal_{};
        std::array<double, 6> target_{};
    };

    // The readings of the six faces, bit f of `sampled` set once face f is read.
    struct Faces {
        std::array<Vec3, 6> readings{};
        std::uint8_t sampled = 0;

        Bytes Record() const;
        std::optional<AxisCalibration> Fit(std::optional<double> magnitude) const;
    };

    void InstallLevelAndZero(Board& board);
    void InstallMagnetometer(Board& board);
    void InstallSixFace(Board& board);
    // A stop request: a running `procedure` ends with `conclude`, and the reply is `record`.
    void HandleStop(Board& board, std::uint8_t msgId, Procedure procedure,
                    std::function<void()> conclude, std::function<Bytes()> record);
    void Begin(Board& board, Procedure procedure, Motion motion);
    void Finish(Board& board);
    void Sample(Board& board);
    void Complete3Axis(Board& board);
    Vec3 Mean() const;

    // The magnetometer coefficients with the extremes seen, the first 49 bytes of the
    // magnetometer records.
    Bytes MagExtremesRecord() const;
    Bytes MagRecord() const;
    Bytes Mag3AxisReport(std::uint8_t step, std::uint8_t progress) const;

    SimulatedImu& imu_;
    SensorCoefficients coefficients_;
    Board::SourceId sampler_ = 0;
    Procedure running_ = Procedure::kNone;
    double begun_ = 0;
    std::size_t ticks_ = 0;
    Vec3 sum_{};
    Extremes extremes_;
    EllipsoidFit ellipsoid_;
    Faces accFaces_;
    Faces magFaces_;
};

}  // namespace zephran::sim
