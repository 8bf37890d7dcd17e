#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "sim/board.h"

namespace zephran::sim {

// The AHRS board's stored settings: the attitude filter's noise parameters, the three sensor
// FIR filters and the output and sensor options of the tool's board menu. Settings survive a
// reset of the board; defaults restore the factory values.
class AhrsParameters {
public:
    // Hears every change of the live output period.
    using RateListener = std::function<void(Board& board, Clock::duration period)>;

    AhrsParameters();

    // Registers the requests; this object must stay alive as long as the board handles them.
    void Install(Board& board, RateListener onRate);

    // The live record's period at the chosen output rate.
    Clock::duration OutputPeriod() const;
    // The value last chosen with the option request msgId; nothing for other ids.
    std::optional<std::uint8_t> Option(std::uint8_t msgId) const;

private:
    struct Noise {
        double gyro;
        double acc;
        double compass;
    };
    struct Fir {
        std::uint8_t taps;
        std::array<std::int16_t, 32> coefficients;
    };
    struct OptionValue {
        std::uint8_t msgId;
        std::uint8_t count;  // codes 0 to count - 1
        std::uint8_t value;
    };

    static Fir FactoryFir(std::size_t sensor);

    Noise noise_;
    std::array<Fir, 3> firs_;
    std::array<OptionValue, 9> options_;
};

}  // namespace zephran::sim
