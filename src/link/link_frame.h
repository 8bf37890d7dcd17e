#pragma once

#include <cstddef>
#include <cstdint>

namespace zephran {

// A frame on the wire: 'T' 'M', group, msgId, payload length (little-endian), payload, and the
// CRC-16/ARC (little-endian) over group through the last payload byte.
inline constexpr std::uint8_t kSync1 = 0x54;
inline constexpr std::uint8_t kSync2 = 0x4D;
inline constexpr std::size_t kMaxPayload = 2048;
inline constexpr std::size_t kFrameOverhead = 8;

// The pending-request key of a message.
constexpr std::uint16_t RequestKey(std::uint8_t group, std::uint8_t msgId) {
    return static_cast<std::uint16_t>(group * 256 + msgId);
}

// The connect request is written whatever the link state.
inline constexpr std::uint8_t kLinkControlGroup = 12;
inline constexpr std::uint8_t kConnectRequestId = 1;

}  // namespace zephran
