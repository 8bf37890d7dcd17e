#pragma once

#include <cstddef>

#include "sim/board.h"

namespace zephran::sim {

// The timing of a serial line of one baud rate (ten bits a byte: start, eight data, stop).
// Bytes put on it cross one after another, each as soon as both it and the line are ready.
class LinePacer {
public:
    // baud 0: no pacing, every byte has crossed at once.
    explicit LinePacer(unsigned baud = 0);

    bool Paced() const { return byteTime_ != Clock::duration::zero(); }
    // Puts count bytes on the line at now, behind those still crossing.
    void Put(std::size_t count, Clock::time_point now);
    // How many of the bytes put so far are still crossing at now.
    std::size_t Crossing(Clock::time_point now) const;
    // When the next of the bytes still crossing at now will have crossed.
    Clock::time_point NextCrossed(Clock::time_point now) const;

private:
    Clock::duration byteTime_{};
    // When the last byte put will have crossed.
    Clock::time_point lineFree_{};
};

}  // namespace zephran::sim
