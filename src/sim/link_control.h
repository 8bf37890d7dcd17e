#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/board.h"
#include "sim/messages.h"

namespace zephran::sim {

inline constexpr std::uint8_t kHighestBaudCode = 12;  // codes 0..12: 1200 to 256000 baud

// The text stream keeps each frame within this size, header and CRC included.
inline constexpr std::size_t kMaxTextFrame = 64;
inline constexpr std::chrono::seconds kTextPeriod{2};

// Sends one line of the text stream, cut to fit one frame.
void SendTextLine(Board& board, std::string_view line);

// What every board does: answers the connect request and the baud-rate switch, and once
// connected announces itself on the text stream and then reports its uptime now and then.
void InstallLinkControl(Board& board);

}  // namespace zephran::sim
