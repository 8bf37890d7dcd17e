#include "sim/ahrs_calibration.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "sim/ahrs_protocol.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;
using namespace ahrs;
using Request = std::span<const std::uint8_t>;

// Leading bytes of the coefficient records: tags of the board's own.
constexpr std::uint8_t kAccTag = 'A';
constexpr std::uint8_t kGyroTag = 'G';
constexpr std::uint8_t kMagTag = 'M';

constexpr std::size_t kNorthTrimSize = 4;  // the trim as a float, degrees
constexpr std::size_t kGyroScaleSize = 25;
constexpr std::uint8_t kAllFaces = 0x3F;

// Procedures sample the sensors at 100 Hz; the magnetometer procedures report every tenth
// sample.
constexpr Clock::duration kSamplePeriod = 10ms;
constexpr std::size_t kReportTicks = 10;

// A still, level board reads the reaction to gravity, upwards.
constexpr Vec3 kLevelForce{0, 0, -kGravity};

// The faces in the order of their face index: +x, -x, +y, -y, +z, -z, so that faces 2a and
// 2a + 1 face opposite ways along axis a. For the accelerometer that axis points down; for the
// magnetometer it points north on a level board, with the same axis down for both faces of a
// pair so that the vertical field cancels.
constexpr std::array<Attitude, 6> kAccFaces{{
    {0, -90, 0},
    {0, 90, 0},
    {90, 0, 0},
    {-90, 0, 0},
    {0, 0, 0},
    {180, 0, 0},
}};
constexpr std::array<Attitude, 6> kMagFaces{{
    {0, 0, 0},
    {0, 0, 180},
    {0, 0, 270},
    {0, 0, 90},
    {180, -90, 0},
    {0, -90, 0},
}};

// The three-axis compass procedure: the board asks to be laid level (0x10), is turned round
// level while it measures x and y (0x11), asks to be laid on its side (0x20) and is turned round
// on its side while it measures z (0x22); the progress runs from 0 to 100 over the two turns.
struct CompassStep {
    std::uint8_t code;
    Motion motion;
    double seconds;
    double progressFrom;
    double progressTo;
    std::array<bool, 3> axes;
};

constexpr std::array<CompassStep, 4> kCompassSteps{{
    {0x10, Motion::kRest, 1, 0, 0, {}},
    {0x11, Motion::kLevelTurn, 3, 0, 50, {true, true, false}},
    {0x20, Motion::kSideRest, 1, 50, 50, {}},
    {0x22, Motion::kSideTurn, 3, 50, 100, {false, false, true}},
}};

struct CompassPosition {
    const CompassStep* step;
    double fraction;  // of the step done

    std::uint8_t Progress() const {
        return static_cast<std::uint8_t>(step->progressFrom +
                                         (step->progressTo - step->progressFrom) * fraction);
    }
};

// Where the procedure stands after `elapsed` seconds; nothing once it is over.
std::optional<CompassPosition> CompassAt(double elapsed) {
    for (const CompassStep& step : kCompassSteps) {
        if (elapsed < step.seconds) return CompassPosition{&step, elapsed / step.seconds};
        elapsed -= step.seconds;
    }
    return std::nullopt;
}

// Leading byte, offsets at 1, 5, 9 and scales at 13, 17, 21: 25 bytes.
Bytes CoefficientRecord(std::uint8_t tag, const AxisCalibration& calibration) {
    Bytes record;
    PutU8(record, 0, tag);
    PutVec3(record, 1, calibration.offset);
    PutVec3(record, 13, calibration.scale);
    return record;
}

// Offsets and scales from two opposite readings of each axis: the offset is their middle, the
// scale their half distance over the expected magnitude, or over the mean half distance of the
// three axes when the magnitude is not known (the local field strength). Nothing when an axis
// has less than half the range of the others, as too little motion gives.
std::optional<AxisCalibration> FitOpposites(const Vec3& plus, const Vec3& minus,
                                            std::optional<double> magnitude) {
    AxisCalibration fit;
    Vec3 half{};
    for (std::size_t i = 0; i < half.size(); ++i) {
        fit.offset[i] = (plus[i] + minus[i]) / 2;
        half[i] = std::abs(plus[i] - minus[i]) / 2;
    }
    const double mean = (half[0] + half[1] + half[2]) / 3;
    if (!(mean > 0)) return std::nullopt;
    for (const double axis : half) {
        if (axis < mean / 2) return std::nullopt;
    }
    const double reference = magnitude.value_or(mean);
    for (std::size_t i = 0; i < half.size(); ++i)
        fit.scale[i] = half[i] / reference;
    return fit;
}

}  // namespace

Vec3 AxisCalibration::Apply(const Vec3& raw) const {
    Vec3 corrected{};
    for (std::size_t i = 0; i < raw.size(); ++i)
        corrected[i] = (raw[i] - offset[i]) / scale[i];
    return corrected;
}

void AhrsCalibration::Extremes::Add(const Vec3& reading, const std::array<bool, 3>& axes) {
    for (std::size_t i = 0; i < reading.size(); ++i) {
        if (!axes[i]) continue;
        high[i] = seen[i] ? std::max(high[i], reading[i]) : reading[i];
        low[i] = seen[i] ? std::min(low[i], reading[i]) : reading[i];
        seen[i] = true;
    }
}

std::optional<AxisCalibration> AhrsCalibration::Extremes::Fit() const {
    if (!(seen[0] && seen[1] && seen[2])) return std::nullopt;
    return FitOpposites(high, low, std::nullopt);
}

void AhrsCalibration::EllipsoidFit::Add(const Vec3& reading) {
    const std::array<double, 6> row{reading[0] * reading[0],
                                    reading[1] * reading[1],
                                    reading[2] * reading[2],
                                    reading[0],
                                    reading[1],
                                    reading[2]};
    for (std::size_t i = 0; i < row.size(); ++i) {
        for (std::size_t k = 0; k < row.size(); ++k)
            normal_[i][k] += row[i] * row[k];
        target_[i] += row[i];
    }
}

std::optional<AxisCalibration> AhrsCalibration::EllipsoidFit::Solve() const {
    // Gaussian elimination with partial pivoting on the normal equations.
    auto m = normal_;
    auto p = target_;
    constexpr std::size_t n = 6;
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row) {
            if (std::abs(m[row][col]) > std::abs(m[pivot][col])) pivot = row;
        }
        if (!(std::abs(m[pivot][col]) > 1e-12 * std::abs(normal_[col][col]))) return std::nullopt;
        std::swap(m[col], m[pivot]);
        std::swap(p[col], p[pivot]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const double factor = m[row][col] / m[col][col];
            for (std::size_t k = col; k < n; ++k)
                m[row][k] -= factor * m[col][k];
            p[row] -= factor * p[col];
        }
    }
    for (std::size_t col = n; col-- > 0;) {
        for (std::size_t k = col + 1; k < n; ++k)
            p[col] -= m[col][k] * p[k];
        p[col] /= m[col][col];
    }
    // a (x - o)² + ... = g with o = -d / 2a; the half axes are sqrt(g / a).
    Vec3 centre{};
    double g = 1;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!(p[i] > 0)) return std::nullopt;
        centre[i] = -p[3 + i] / (2 * p[i]);
        g += p[i] * centre[i] * centre[i];
    }
    Vec3 high{};
    Vec3 low{};
    for (std::size_t i = 0; i < 3; ++i) {
        const double half = std::sqrt(g / p[i]);
        high[i] = centre[i] + half;
        low[i] = centre[i] - half;
    }
    return FitOpposites(high, low, std::nullopt);
}

// Leading byte: the faces read so far, bit f for face f; then x, y, z of each face at
// 1 + 12 f, zero for a face not read.
Bytes AhrsCalibration::Faces::Record() const {
    Bytes record;
    PutU8(record, 0, sampled);
    for (std::size_t f = 0; f < readings.size(); ++f)
        PutVec3(record, 1 + 12 * f, readings[f]);
    return record;
}

std::optional<AxisCalibration> AhrsCalibration::Faces::Fit(std::optional<double> magnitude) const {
    if (sampled != kAllFaces) return std::nullopt;
    Vec3 plus{};
    Vec3 minus{};
    for (std::size_t axis = 0; axis < plus.size(); ++axis) {
        plus[axis] = readings[2 * axis][axis];
        minus[axis] = readings[2 * axis + 1][axis];
    }
    return FitOpposites(plus, minus, magnitude);
}

void AhrsCalibration::Install(Board& board) {
    sampler_ = board.AddSource(Clock::duration::zero(), [this](Board& b) { Sample(b); });
    InstallLevelAndZero(board);
    InstallMagnetometer(board);
    InstallSixFace(board);
}

void AhrsCalibration::Reset(Board& board) {
    if (Running()) Finish(board);
    accFaces_ = {};
    magFaces_ = {};
}

void AhrsCalibration::InstallLevelAndZero(Board& board) {
    const auto accRecord = [this] { return CoefficientRecord(kAccTag, coefficients_.acc); };
    const auto gyroRecord = [this] { return CoefficientRecord(kGyroTag, coefficients_.gyro); };

    // The accelerometer's level calibration finds the offsets that make a level board read
    // straight up at its present scales.
    HandleCommand(board, kAccBeginCal,
                  [this](Board& b) { Begin(b, Procedure::kAccLevel, Motion::kRest); });
    HandleStop(
        board, kAccStopCal, Procedure::kAccLevel,
        [this] {
            const Vec3 mean = Mean();
            for (std::size_t i = 0; i < mean.size(); ++i)
                coefficients_.acc.offset[i] = mean[i] - coefficients_.acc.scale[i] * kLevelForce[i];
        },
        accRecord);
    HandleRead(board, kAccReadCal, accRecord);
    HandleCommand(board, kAccDefault, [this](Board&) { coefficients_.acc = kFactoryAcc; });

    HandleCommand(board, kGyroBeginCal,
                  [this](Board& b) { Begin(b, Procedure::kGyroZero, Motion::kRest); });
    HandleStop(
        board, kGyroStopCal, Procedure::kGyroZero, [this] { coefficients_.gyro.offset = Mean(); },
        gyroRecord);
    HandleRead(board, kGyroReadCal, gyroRecord);
    HandleRead(board, kGyroReadScale, gyroRecord);
    HandleCommand(board, kGyroDefault, [this](Board&) { coefficients_.gyro = kFactoryGyro; });
    // The write carries a whole gyroscope record as the tool last read it; only the scales are
    // taken, and a scale that is not a positive number leaves that axis as it was.
    HandleExact(board, kGyroSetScale, kGyroScaleSize, [this](Request request, Board& b) {
        for (std::size_t i = 0; i < 3; ++i) {
            const float scale = GetFloat(request, 13 + 4 * i);
            if (std::isfinite(scale) && scale > 0) coefficients_.gyro.scale[i] = scale;
        }
        b.Send(kGroup, kGyroSetScale);
    });
}

void AhrsCalibration::InstallMagnetometer(Board& board) {
    HandleCommand(board, kMagBeginCal,
                  [this](Board& b) { Begin(b, Procedure::kMag, Motion::kTumble); });
    HandleStop(
        board, kMagStopCal, Procedure::kMag,
        [this] {
            if (const auto fit = ellipsoid_.Solve()) coefficients_.mag = *fit;
        },
        [this] { return MagRecord(); });
    HandleRead(board, kMagReadCal, [this] { return MagRecord(); });
    HandleCommand(board, kMagDefault, [this](Board&) { coefficients_.mag = kFactoryMag; });

    HandleRead(board, kNorthTrimRead, [this] { return MagRecord(); });
    HandleExact(board, kNorthTrimSet, kNorthTrimSize, [this](Request request, Board& b) {
        const float trim = GetFloat(request, 0);
        if (std::isfinite(trim)) coefficients_.northTrim = trim;
        b.Send(kGroup, kNorthTrimSet);
    });
    HandleCommand(board, kNorthTrimDefault, [this](Board&) { coefficients_.northTrim = 0; });

    HandleCommand(board, kMag3AxisStart,
                  [this](Board& b) { Begin(b, Procedure::kMag3Axis, Motion::kRest); });
    HandleCommand(board, kMag3AxisCancel, [this](Board& b) {
        if (running_ == Procedure::kMag3Axis) Finish(b);
    });
}

void AhrsCalibration::InstallSixFace(Board& board) {
    // Each face read samples the sensor of a still board laid on that face; the computation
    // fits the six faces held, and leaves the coefficients as they are until all six are read.
    struct SixFace {
        std::uint8_t read;
        std::uint8_t compute;
        std::uint8_t readCoefficients;
        std::uint8_t reset;
        std::uint8_t tag;
        const std::array<Attitude, 6>* attitudes;
        Faces AhrsCalibration::*faces;
        Vec3 SensorReading::*sensor;
        AxisCalibration SensorCoefficients::*coefficients;
        std::optional<double> magnitude;  // of the accelerometer readings, m/s²
    };
    const std::array<SixFace, 2> procedures{{
        {kReadAccFace, kAccFaceCal, kReadAccCof, kDefaultAccCof, kAccTag, &kAccFaces,
         &AhrsCalibration::accFaces_, &SensorReading::acc, &SensorCoefficients::acc, kGravity},
        {kReadMagFace, kMagFaceCal, kReadMagFaceCof, kDefaultMagFaceCof, kMagTag, &kMagFaces,
         &AhrsCalibration::magFaces_, &SensorReading::mag, &SensorCoefficients::mag, std::nullopt},
    }};
    for (const SixFace& p : procedures) {
        const auto record = [this, p] {
            return CoefficientRecord(p.tag, coefficients_.*p.coefficients);
        };
        HandleExact(board, p.read, 1, [this, p](Request request, Board& b) {
            const std::uint8_t face = request[0];
            if (face >= p.attitudes->size()) return;
            Faces& faces = this->*p.faces;
            faces.readings[face] = imu_.Read({(*p.attitudes)[face], {}}).*p.sensor;
            faces.sampled |= static_cast<std::uint8_t>(1 << face);
            b.Send(kGroup, p.read, faces.Record());
        });
        HandleRead(board, p.compute, [this, p, record] {
            if (const auto fit = (this->*p.faces).Fit(p.magnitude))
                coefficients_.*p.coefficients = *fit;
            return record();
        });
        HandleRead(board, p.readCoefficients, record);
        HandleCommand(board, p.reset, [this, p](Board&) {
            coefficients_.*p.coefficients = SensorCoefficients{}.*p.coefficients;
        });
    }
}

void AhrsCalibration::HandleStop(Board& board, std::uint8_t msgId, Procedure procedure,
                                 std::function<void()> conclude, std::function<Bytes()> record) {
    HandleExact(board, msgId, 0,
                [this, msgId, procedure, conclude = std::move(conclude),
                 record = std::move(record)](Request, Board& b) {
                    if (running_ == procedure) {
                        if (ticks_ > 0) conclude();
                        Finish(b);
                    }
                    b.Send(kGroup, msgId, record());
                });
}

void AhrsCalibration::Begin(Board& board, Procedure procedure, Motion motion) {
    running_ = procedure;
    begun_ = BoardSeconds(board);
    ticks_ = 0;
    sum_ = {};
    if (procedure == Procedure::kMag || procedure == Procedure::kMag3Axis) {
        extremes_ = {};
        ellipsoid_ = {};
    }
    imu_.Move(motion, begun_);
    board.SetSourcePeriod(sampler_, kSamplePeriod);
}

void AhrsCalibration::Finish(Board& board) {
    running_ = Procedure::kNone;
    board.SetSourcePeriod(sampler_, Clock::duration::zero());
    imu_.Move(Motion::kWander, BoardSeconds(board));
}

void AhrsCalibration::Sample(Board& board) {
    const double now = BoardSeconds(board);
    std::optional<CompassPosition> compass;
    if (running_ == Procedure::kMag3Axis) {
        compass = CompassAt(now - begun_);
        if (!compass) {
            Complete3Axis(board);
            return;
        }
        if (imu_.Moving() != compass->step->motion) imu_.Move(compass->step->motion, now);
    }
    const SensorReading raw = imu_.Read(imu_.PoseAt(now));
    const bool report = ++ticks_ % kReportTicks == 0;
    switch (running_) {
        case Procedure::kAccLevel:
        case Procedure::kGyroZero: {
            const Vec3& reading = running_ == Procedure::kAccLevel ? raw.acc : raw.gyro;
            for (std::size_t i = 0; i < reading.size(); ++i)
                sum_[i] += reading[i];
            break;
        }
        case Procedure::kMag:
            extremes_.Add(raw.mag, {true, true, true});
            ellipsoid_.Add(raw.mag);
            if (report) board.Send(kGroup, kMagCalReport, MagRecord());
            break;
        case Procedure::kMag3Axis:
            extremes_.Add(raw.mag, compass->step->axes);
            if (report)
                board.Send(kGroup, kMag3AxisReport,
                           Mag3AxisReport(compass->step->code, compass->Progress()));
            break;
        case Procedure::kNone:
            break;
    }
}

void AhrsCalibration::Complete3Axis(Board& board) {
    if (const auto fit = extremes_.Fit()) coefficients_.mag = *fit;
    board.Send(kGroup, kMag3AxisReport, Mag3AxisReport(kCompassSteps.back().code, 100));
    board.Send(kGroup, kMag3AxisComplete);
    Finish(board);
}

Vec3 AhrsCalibration::Mean() const {
    Vec3 mean{};
    for (std::size_t i = 0; i < mean.size(); ++i)
        mean[i] = sum_[i] / static_cast<double>(ticks_);
    return mean;
}

// Coefficients, then the largest readings at 25, 29, 33 and the smallest at 37, 41, 45 of the
// last magnetometer procedure (zero for an axis it has not seen).
Bytes AhrsCalibration::MagExtremesRecord() const {
    Bytes record = CoefficientRecord(kMagTag, coefficients_.mag);
    PutVec3(record, 25, extremes_.high);
    PutVec3(record, 37, extremes_.low);
    return record;
}

// The extremes record with the north trim at 49: 53 bytes.
Bytes AhrsCalibration::MagRecord() const {
    Bytes record = MagExtremesRecord();
    PutFloat(record, 49, static_cast<float>(coefficients_.northTrim));
    return record;
}

// The extremes record with the step code at 49 and the progress at 50: 51 bytes.
Bytes AhrsCalibration::Mag3AxisReport(std::uint8_t step, std::uint8_t progress) const {
    Bytes record = MagExtremesRecord();
    PutU8(record, 49, step);
    PutU8(record, 50, progress);
    return record;
}

}  // namespace zephran::sim
