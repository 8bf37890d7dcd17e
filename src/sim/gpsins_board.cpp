#include "sim/gpsins_board.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "sim/ahrs_calibration.h"
#include "sim/ahrs_protocol.h"
#include "sim/gpsins_navigation.h"
#include "sim/request_handlers.h"

namespace zephran::sim::gpsins {
namespace {

// Gyro, acc, gyro and acc random walk; GPS horizontal and vertical position and velocity,
// barometer, acc without GPS, magnetic yaw, acc.
constexpr QrParameters kFactory{2e-8,   0.002, 1e-9, 1e-20, 0.04, 0.01,
                                0.0025, 100.0, 0.5,  1e-5,  1e-4, 0.002};

constexpr std::size_t Offset(std::size_t n) {
    return 1 + 8 * n;
}

constexpr auto kFastPeriod = std::chrono::milliseconds(20);
constexpr auto kGpsPeriod = std::chrono::milliseconds(200);

// Status codes of this board: sensors healthy, a 3-D fix, the filter aligned.
constexpr std::uint8_t kSensorsHealthy = 0x0F;
constexpr std::uint8_t kFix3D = 3, kFixValid = 0x01;
constexpr std::uint8_t kNavAligned = 0x07;
constexpr std::uint8_t kSatellites = 11;
constexpr float kFilterHealth = 1.0f;
// The GPS epoch (1980-01-06) in Unix milliseconds, GPS time's lead over UTC, and a week.
constexpr std::int64_t kGpsEpochMs = 315'964'800'000, kLeapMs = 18'000, kWeekMs = 604'800'000;

using ahrs::PutVec3;

}  // namespace

Bytes EncodeSensorsRaw(const NavigationState& state) {
    Bytes record;
    PutU8(record, 0, kSensorsHealthy);
    PutVec3(record, 1, state.rates);
    PutVec3(record, 13, state.force);
    PutVec3(record, 25, state.field);
    PutFloat(record, 37, static_cast<float>(state.height));
    return record;
}

std::int32_t GpsWeekMs(std::chrono::system_clock::time_point now) {
    const std::int64_t ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    return static_cast<std::int32_t>((ms - kGpsEpochMs + kLeapMs) % kWeekMs);
}

Bytes EncodeGpsRaw(const NavigationState& state, double seconds, std::int32_t weekMs) {
    const Vec3& v = state.velocity;
    const double ground = std::hypot(v[0], v[1]);
    Bytes record;
    PutU8(record, 0, 1);
    PutI32(record, 1, weekMs);
    PutDouble(record, 5, state.lon);
    PutDouble(record, 13, state.lat);
    PutFloat(record, 21, static_cast<float>(state.height));
    PutU8(record, 25, kFix3D);
    PutU8(record, 26, kFixValid);
    // Dilution wanders a little as satellites move.
    PutU16(record, 27, static_cast<std::uint16_t>(150 + 10 * std::sin(seconds / 30)));
    PutU8(record, 29, kSatellites);
    PutVec3(record, 30, v);
    PutFloat(record, 42, static_cast<float>(std::hypot(ground, v[2])));
    PutFloat(record, 46, static_cast<float>(ground));
    PutFloat(record, 50, static_cast<float>(WrapHeading(std::atan2(v[1], v[0]) * kDegPerRad)));
    return record;
}

Bytes EncodeNavOutput(const NavigationState& state) {
    Bytes record;
    PutU8(record, 0, kNavAligned);
    PutDouble(record, 1, state.lon);
    PutDouble(record, 9, state.lat);
    PutFloat(record, 17, static_cast<float>(state.height));
    PutVec3(record, 21, state.velocity);
    for (std::size_t i = 0; i < 4; ++i)
        PutFloat(record, 33 + 4 * i, static_cast<float>(state.q[i]));
    PutVec3(record, 49, state.rates);
    PutVec3(record, 61, state.force);
    PutU8(record, 73, kSatellites);
    PutFloat(record, 74, kFilterHealth);
    return record;
}

const QrParameters& FactoryQr() {
    return kFactory;
}

Bytes EncodeQr(const QrParameters& parameters) {
    Bytes record;
    PutU8(record, 0, kQrTag);
    for (std::size_t n = 0; n < kQrCount; ++n)
        PutDouble(record, Offset(n), parameters[n]);
    return record;
}

QrParameters DecodeQr(std::span<const std::uint8_t> record) {
    QrParameters parameters{};
    for (std::size_t n = 0; n < kQrCount; ++n)
        parameters[n] = GetDouble(record, Offset(n));
    return parameters;
}

}  // namespace zephran::sim::gpsins

namespace zephran::sim {

namespace {

struct GpsInsState {
    SimulatedImu imu;
    AhrsCalibration calibration{imu};
    Bytes misc{gpsins::kMiscTag, 0, 2, 0, 0, 0, 0};
};

}  // namespace

void InstallGpsIns(Board& board) {
    using namespace gpsins;
    auto state = std::make_shared<GpsInsState>();
    board.AddSource(kFastPeriod, [](Board& b) {
        const NavigationState nav = NavigationAt(ahrs::BoardSeconds(b));
        b.Send(kGroup, kSensorsRaw, EncodeSensorsRaw(nav));
        b.Send(kGroup, kNavOutput, EncodeNavOutput(nav));
    });
    board.AddSource(kGpsPeriod, [](Board& b) {
        const double seconds = ahrs::BoardSeconds(b);
        b.Send(kGroup, kGpsRaw,
               EncodeGpsRaw(NavigationAt(seconds), seconds,
                            GpsWeekMs(std::chrono::system_clock::now())));
    });
    // The misc record keeps the board's own leading byte, whatever the tool sends back.
    On(board, kGroup, kMiscRead, 0,
       [state](Request, Board& b) { b.Send(kGroup, kMiscRead, state->misc); });
    OnChange(board, kGroup, kMiscWrite, kMiscSize, [state](Request request) {
        std::copy(request.begin() + 1, request.end(), state->misc.begin() + 1);
        return true;
    });
    // The calibration and its source live as long as the board through the shared state.
    state->calibration.Install(board);
    ahrs::HandleCommand(board, ahrs::kReset, [state](Board& b) { state->calibration.Reset(b); });

    auto qr = std::make_shared<QrParameters>(kFactory);
    // Requests of another length than their layout are malformed and go unanswered.
    board.Handle(kGroup, kQrRead, [qr](std::span<const std::uint8_t> request, Board& b) {
        if (request.empty()) b.Send(kGroup, kQrRead, EncodeQr(*qr));
    });
    // The leading byte stays the board's own tag, whatever the tool sends back.
    board.Handle(kGroup, kQrWrite, [qr](std::span<const std::uint8_t> request, Board& b) {
        if (request.size() != kQrSize) return;
        *qr = DecodeQr(request);
        b.Send(kGroup, kQrWrite);
    });
    board.Handle(kGroup, kQrDefault, [qr](std::span<const std::uint8_t> request, Board& b) {
        if (!request.empty()) return;
        *qr = kFactory;
        b.Send(kGroup, kQrDefault);
    });
}

}  // namespace zephran::sim
