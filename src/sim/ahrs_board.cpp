#include "sim/ahrs_board.h"

#include <memory>

#include "sim/ahrs_calibration.h"
#include "sim/ahrs_model.h"
#include "sim/ahrs_params.h"
#include "sim/ahrs_protocol.h"

namespace zephran::sim {
namespace {

using namespace ahrs;

// Status bits of the live record, to this board: attitude valid, a calibration running.
constexpr std::uint8_t kFlagAttitude = 0x01;
constexpr std::uint8_t kFlagCalibrating = 0x02;

struct AhrsState {
    SimulatedImu imu;
    AhrsCalibration calibration{imu};
    AhrsParameters parameters;
};

// Flags, roll, pitch, yaw (degrees), rates (deg/s), acceleration (g) and field (mG) as the
// calibrated sensors give them: 49 bytes.
Bytes LiveRecord(const AhrsState& state, const Pose& pose, const SensorReading& raw) {
    const SensorCoefficients& c = state.calibration.Coefficients();
    Vec3 rates = c.gyro.Apply(raw.gyro);
    Vec3 force = c.acc.Apply(raw.acc);
    for (std::size_t i = 0; i < 3; ++i) {
        rates[i] *= kDegPerRad;
        force[i] /= kGravity;
    }
    Bytes record;
    PutU8(record, 0,
          state.calibration.Running() ? kFlagAttitude | kFlagCalibrating : kFlagAttitude);
    PutVec3(
        record, 1,
        {pose.attitude.roll, pose.attitude.pitch, WrapHeading(pose.attitude.yaw + c.northTrim)});
    PutVec3(record, 13, rates);
    PutVec3(record, 25, force);
    PutVec3(record, 37, c.mag.Apply(raw.mag));
    return record;
}

}  // namespace

void InstallAhrs(Board& board) {
    auto state = std::make_shared<AhrsState>();
    // The live source owns the state, so the state lives as long as the board.
    const Board::SourceId live =
        board.AddSource(state->parameters.OutputPeriod(), [state](Board& b) {
            const Pose pose = state->imu.PoseAt(BoardSeconds(b));
            b.Send(kGroup, kLiveData, LiveRecord(*state, pose, state->imu.Read(pose)));
        });
    state->parameters.Install(
        board, [live](Board& b, Clock::duration period) { b.SetSourcePeriod(live, period); });
    state->calibration.Install(board);
    // A restart keeps the stored settings and coefficients.
    HandleCommand(board, kReset,
                  [&calibration = state->calibration](Board& b) { calibration.Reset(b); });
}

}  // namespace zephran::sim
