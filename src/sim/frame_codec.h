#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/byte_order.h"

namespace zephran::sim {

// A frame on the wire: 'T' 'M', group, msgId, payload length (little-endian), payload, then the
// CRC-16/ARC (little-endian) over group through the last payload byte.
inline constexpr std::uint8_t kSync1 = 'T';
inline constexpr std::uint8_t kSync2 = 'M';
inline constexpr std::size_t kMaxPayload = 2048;
inline constexpr std::size_t kFrameOverhead = 8;

struct Frame {
    std::uint8_t group = 0;
    std::uint8_t msgId = 0;
    Bytes payload;

    bool operator==(const Frame&) const = default;
};

// The wire image of one frame; a payload beyond the limit is cut to it.
Bytes EncodeFrame(std::uint8_t group, std::uint8_t msgId, std::span<const std::uint8_t> payload);

// Splits a byte stream into the frames whose CRC matches. A bad CRC or a length beyond the limit
// gives up only the sync byte the candidate started at, so a good frame that began inside the
// bad one is still found.
class FrameDecoder {
public:
    // Takes the next bytes of the stream and returns the frames they complete, in order.
    std::vector<Frame> Feed(std::span<const std::uint8_t> bytes);
    // Forgets a partly received frame.
    void Reset() { buffer_.clear(); }
    // Bytes kept for a frame not yet complete.
    std::size_t Pending() const { return buffer_.size(); }

private:
    Bytes buffer_;
};

}  // namespace zephran::sim
