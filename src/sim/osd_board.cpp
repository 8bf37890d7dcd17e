#include "sim/osd_board.h"
#include "sim/messages.h"
#include "sim/request_handlers.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>

namespace zephran::sim {
namespace {

using namespace osd;

// How many options each of the screen settings 1 to 6 has.
constexpr std::array<std::uint8_t, 6> kOptions{2, 3, 3, 2, 2, 2};

// The hardware the calibrations describe.
constexpr float kSensorOffset = 0.6f;  // V
constexpr float kSensorGain = 0.04f;   // V per A
constexpr float kDivider = 10.9f;
constexpr std::array<float, 2> kSupply{11.1f, 16.8f};  // V at points A and B
constexpr float kSweptMin = 0.42f, kSweptMax = 2.87f;  // V

float SensorReading(float amperes) {
    return kSensorOffset + kSensorGain * amperes;
}
float BatteryReading(float volts) {
    return volts / kDivider;
}

// Two floats at offsets 0 and 4: a bias and a scale, or the RSSI minimum and maximum.
struct Pair {
    float first;
    float second;
};

Bytes Encode(Pair pair) {
    Bytes out;
    PutFloat(out, 0, pair.first);
    PutFloat(out, 4, pair.second);
    return out;
}

Bytes Encode(float value) {
    Bytes out;
    PutFloat(out, 0, value);
    return out;
}

// Current: reading = bias + scale * amperes. Voltage: volts = bias + scale * reading.
constexpr Pair kCurrentDefault{0.5f, 0.05f};
constexpr Pair kVoltageDefault{0.0f, 11.0f};
constexpr Pair kRssiDefault{0.0f, 3.3f};

struct Calibrations {
    Pair current = kCurrentDefault;
    Pair voltage = kVoltageDefault;
    Pair rssi = kRssiDefault;
    bool rssiRunning = false;
};

bool Finite(Pair pair) {
    return std::isfinite(pair.first) && std::isfinite(pair.second);
}

}  // namespace

void InstallOsdScreen(Board& board) {
    for (std::uint8_t i = 0; i < kOptions.size(); ++i) {
        const auto msgId = static_cast<std::uint8_t>(i + 1);
        const std::uint8_t options = kOptions[i];
        board.Handle(kScreenGroup, msgId,
                     [msgId, options](std::span<const std::uint8_t> request, Board& b) {
                         if (request.size() == 1 && request[0] < options)
                             b.Send(kScreenGroup, msgId);
                     });
    }
}

void InstallOsdCalibration(Board& board) {
    auto cal = std::make_shared<Calibrations>();
    // One-point calibrations keep the other constant and refuse values that would make it
    // infinite or divide by zero.
    const auto onePoint = [&board, cal](std::uint8_t msgId, Pair Calibrations::*pair, auto next) {
        OnChange(board, kCalGroup, msgId, 4, [cal, pair, next](Request r) {
            const float value = GetFloat(r, 0);
            const Pair kept = (*cal).*pair;
            const std::optional<Pair> changed = next(value, kept);
            if (!changed || !Finite(*changed)) return false;
            (*cal).*pair = *changed;
            return true;
        });
    };
    onePoint(kSetCurrentBias, &Calibrations::current, [](float offset, Pair kept) {
        return std::optional<Pair>{{SensorReading(offset) - kept.second * offset, kept.second}};
    });
    onePoint(kOnePointCurrent, &Calibrations::current,
             [](float amperes, Pair kept) -> std::optional<Pair> {
                 if (amperes == 0) return std::nullopt;
                 return Pair{kept.first, (SensorReading(amperes) - kept.first) / amperes};
             });
    onePoint(kOnePointVoltage, &Calibrations::voltage,
             [](float volts, Pair kept) -> std::optional<Pair> {
                 if (volts == 0) return std::nullopt;
                 return Pair{kept.first, (volts - kept.first) / BatteryReading(volts)};
             });

    for (const std::uint8_t msgId : {kCurrentPointA, kCurrentPointB}) {
        On(board, kCalGroup, msgId, 4, [msgId](Request r, Board& b) {
            b.Send(kCalGroup, msgId, Encode(SensorReading(GetFloat(r, 0))));
        });
    }
    for (std::size_t p = 0; p < kSupply.size(); ++p) {
        const auto msgId = static_cast<std::uint8_t>(kVoltagePointA + p);
        On(board, kCalGroup, msgId, 0, [msgId, p](Request, Board& b) {
            b.Send(kCalGroup, msgId, Encode(BatteryReading(kSupply[p])));
        });
    }

    // Each calibration: its write, its read and its default.
    struct Kept {
        std::uint8_t set, read, reset;
        Pair Calibrations::*pair;
        Pair factory;
    };
    for (const Kept& k : {Kept{kSetCurrentCal, kReadCurrentCal, kDefaultCurrentCal,
                               &Calibrations::current, kCurrentDefault},
                          Kept{kSetVoltageCal, kReadVoltageCal, kDefaultVoltageCal,
                               &Calibrations::voltage, kVoltageDefault}}) {
        OnChange(board, kCalGroup, k.set, 8, [cal, k](Request r) {
            const Pair next{GetFloat(r, 0), GetFloat(r, 4)};
            if (!Finite(next)) return false;
            (*cal).*k.pair = next;
            return true;
        });
        On(board, kCalGroup, k.read, 0,
           [cal, k](Request, Board& b) { b.Send(kCalGroup, k.read, Encode((*cal).*k.pair)); });
        OnChange(board, kCalGroup, k.reset, 0, [cal, k](Request) {
            (*cal).*k.pair = k.factory;
            return true;
        });
    }

    On(board, kCalGroup, kReadRssiCal, 0,
       [cal](Request, Board& b) { b.Send(kCalGroup, kReadRssiCal, Encode(cal->rssi)); });
    OnChange(board, kCalGroup, kStartRssiCal, 0, [cal](Request) {
        cal->rssiRunning = true;
        return true;
    });
    // A stop without a start leaves the stored range as it was.
    OnChange(board, kCalGroup, kStopRssiCal, 0, [cal](Request) {
        if (cal->rssiRunning) cal->rssi = {kSweptMin, kSweptMax};
        cal->rssiRunning = false;
        return true;
    });
}

void InstallVantrel(Board& board) {
    InstallOsdScreen(board);
    InstallOsdCalibration(board);
}

}  // namespace zephran::sim
