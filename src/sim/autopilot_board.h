#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/board.h"
#include "sim/messages.h"

namespace zephran::sim::autopilot {

inline constexpr std::size_t kPidSetCount = 12;
inline constexpr std::size_t kPidSetSize = 32;

// One PID controller as the board keeps it.
struct PidSet {
    float totalP;
    std::uint8_t p, i, d;
    float iThreshold, maxI, inSlew, outSlew, dp, outMax;

    bool operator==(const PidSet&) const = default;
};

// The board's factory settings of controller n (0..11), in message order.
const PidSet& FactoryPidSet(std::size_t n);
// The tag the board puts in the leading byte of controller n's record.
std::uint8_t PidSetTag(std::size_t n);

// Controller n's 32-byte record, and the set a written record carries.
Bytes EncodePidSet(std::size_t n, const PidSet& set);
PidSet DecodePidSet(std::span<const std::uint8_t> record);

}  // namespace zephran::sim::autopilot

namespace zephran::sim {

// Makes the board the OSD board with the airplane autopilot: it keeps its twelve PID
// controllers, answers their reads and takes their writes and defaults.
void InstallAutopilot(Board& board);

}  // namespace zephran::sim
