#include "sim/ahrs_params.h"

#include <algorithm>
#include <chrono>

#include "sim/ahrs_protocol.h"

namespace zephran::sim {
namespace {

using namespace ahrs;

// Leading bytes of the board's records: tags of its own that the tool sends back unread.
constexpr std::uint8_t kNoiseTag = 0x5A;

constexpr std::size_t kNoiseSize = 25;
constexpr std::size_t kFirSize = 66;
constexpr std::uint8_t kMaxTaps = 32;

// Output rates of the option codes 0 to 5, in Hz.
constexpr std::array<int, 6> kOutputRates{10, 25, 50, 100, 200, 500};

constexpr double kDefaultGyroNoise = 1e-7;
constexpr double kDefaultAccNoise = 1e-5;
constexpr double kDefaultCompassNoise = 1e-7;

// One sensor's filter: its tag, its three requests and its factory filter.
struct FirSensor {
    std::uint8_t tag;
    std::uint8_t write;
    std::uint8_t read;
    std::uint8_t reset;
    std::uint8_t defaultTaps;
};

// The factory filters are moving averages with unity gain in Q15.
constexpr std::array<FirSensor, 3> kFirSensors{{
    {0x67, kWriteGyroFir, kReadGyroFir, kDefaultGyroFir, 4},
    {0x61, kWriteAccFir, kReadAccFir, kDefaultAccFir, 8},
    {0x6D, kWriteMagFir, kReadMagFir, kDefaultMagFir, 16},
}};

}  // namespace

AhrsParameters::Fir AhrsParameters::FactoryFir(std::size_t sensor) {
    const std::uint8_t taps = kFirSensors[sensor].defaultTaps;
    Fir fir{taps, {}};
    std::fill_n(fir.coefficients.begin(), taps, static_cast<std::int16_t>(32768 / taps));
    return fir;
}

// The option codes mean, to this board (all are remembered; only the output rate changes what
// the simulation does):
//   19 magnetometer in use: 0 off, 1 on
//   20 output protocol: 0 binary frames, 1 text lines
//   21 output rate: 10, 25, 50, 100, 200, 500 Hz
//   35 sensor mounting: eight orientations of the board in the airframe
//   36 running mode: 0 AHRS, 1 vertical reference without compass, 2 raw sensors, 3 standby
//   37 data output mode: 0 attitude and sensors, 1 attitude, 2 sensors, 3 quaternion
//   69 gyroscope range: 250, 500, 2000 deg/s
//   70 accelerometer range: 2, 4, 8 g
//   71 magnetometer range: 0.88, 1.3, 1.9, 2.5, 4.0, 4.7, 8.1 gauss
AhrsParameters::AhrsParameters()
    : noise_{kDefaultGyroNoise, kDefaultAccNoise, kDefaultCompassNoise},
      options_{{
          {kMagUsed, 2, 1},
          {kOutputProtocol, 2, 0},
          {kOutputRate, 6, 2},
          {kImuDirection, 8, 0},
          {kRunningMode, 4, 0},
          {kDataOutputMode, 4, 0},
          {kGyroRange, 3, 1},
          {kAccRange, 3, 1},
          {kMagRange, 7, 1},
      }} {
    for (std::size_t i = 0; i < kFirSensors.size(); ++i)
        firs_[i] = FactoryFir(i);
}

Clock::duration AhrsParameters::OutputPeriod() const {
    const std::uint8_t code = *Option(kOutputRate);
    return std::chrono::microseconds(1'000'000 / kOutputRates[code]);
}

std::optional<std::uint8_t> AhrsParameters::Option(std::uint8_t msgId) const {
    const auto found = std::ranges::find(options_, msgId, &OptionValue::msgId);
    if (found == options_.end()) return std::nullopt;
    return found->value;
}

void AhrsParameters::Install(Board& board, RateListener onRate) {
    HandleRead(board, kReadNoise, [this] {
        Bytes record;
        PutU8(record, 0, kNoiseTag);
        PutDouble(record, 1, noise_.gyro);
        PutDouble(record, 9, noise_.acc);
        PutDouble(record, 17, noise_.compass);
        return record;
    });
    // The write carries the record as the tool last read it; the tag stays the board's own.
    HandleExact(board, kWriteNoise, kNoiseSize,
                [this](std::span<const std::uint8_t> request, Board& b) {
                    noise_ = {GetDouble(request, 1), GetDouble(request, 9), GetDouble(request, 17)};
                    b.Send(kGroup, kWriteNoise);
                });
    HandleCommand(board, kDefaultNoise, [this](Board&) {
        noise_ = {kDefaultGyroNoise, kDefaultAccNoise, kDefaultCompassNoise};
    });

    for (std::size_t i = 0; i < kFirSensors.size(); ++i) {
        const FirSensor& sensor = kFirSensors[i];
        Fir& fir = firs_[i];
        HandleRead(board, sensor.read, [&fir, &sensor] {
            Bytes record;
            PutU8(record, 0, sensor.tag);
            PutU8(record, 1, fir.taps);
            for (std::size_t k = 0; k < fir.coefficients.size(); ++k)
                PutI16(record, 2 + 2 * k, fir.coefficients[k]);
            return record;
        });
        // A tap count the filter cannot hold makes the request malformed.
        HandleExact(board, sensor.write, kFirSize,
                    [&fir, &sensor](std::span<const std::uint8_t> request, Board& b) {
                        const std::uint8_t taps = GetU8(request, 1);
                        if (taps > kMaxTaps) return;
                        fir.taps = taps;
                        for (std::size_t k = 0; k < fir.coefficients.size(); ++k)
                            fir.coefficients[k] = GetI16(request, 2 + 2 * k);
                        b.Send(kGroup, sensor.write);
                    });
        HandleCommand(board, sensor.reset, [&fir, i](Board&) { fir = FactoryFir(i); });
    }

    for (OptionValue& option : options_) {
        HandleExact(board, option.msgId, 1,
                    [this, &option, onRate](std::span<const std::uint8_t> request, Board& b) {
                        if (request[0] >= option.count) return;
                        option.value = request[0];
                        b.Send(kGroup, option.msgId);
                        if (option.msgId == kOutputRate) onRate(b, OutputPeriod());
                    });
    }
}

}  // namespace zephran::sim
