#pragma once

#include <cstddef>

#include "sim/board.h"

namespace zephran::sim {

// Lets bytes onto a serial line no faster than its baud rate allows (ten bits a byte: start,
// eight data, stop), keeping at most a UART FIFO's worth of them ahead of the wire.
class LinePacer {
public:
    static constexpr std::size_t kFifoBytes = 16;

    // baud 0: no pacing.
    explicit LinePacer(unsigned baud = 0);

    bool Paced() const { return byteTime_ != Clock::duration::zero(); }
    // How many bytes may go at now.
    std::size_t Allowed(Clock::time_point now) const;
    void Used(std::size_t count, Clock::time_point now);
    // When the next byte may go.
    Clock::time_point NextFree() const { return lineFree_ - (kFifoBytes - 1) * byteTime_; }

private:
    Clock::duration byteTime_{};
    // When the wire has sent everything handed to it.
    Clock::time_point lineFree_{};
};

}  // namespace zephran::sim
