#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link_frame.h"

namespace zephran {

// The received frame as stored: group, msgId, length and payload lie in one run so that the CRC
// is computed over the first length + 4 bytes; the received CRC follows the full payload area.
struct ReceiveArea {
    std::uint8_t group;
    std::uint8_t msgId;
    std::uint8_t length[2];
    std::uint8_t payload[kMaxPayload];
    std::uint8_t crc[2];

    std::uint16_t Length() const {
        return static_cast<std::uint16_t>(length[0] | (length[1] << 8));
    }
};
static_assert(sizeof(ReceiveArea) == 4 + kMaxPayload + 2);

// Receives each complete frame whose CRC matched.
class FrameDispatcher {
public:
    virtual ~FrameDispatcher() = default;
    virtual int DispatchFrame(const ReceiveArea& frame) = 0;
};

// Results of FrameParser besides what DispatchFrame returns for a good frame.
inline constexpr int kParseByteTaken = 0;
inline constexpr int kParseCrcMismatch = 2;
inline constexpr int kParseLengthTooLong = 4;

// The byte-wise receive state machine. Its state survives across frames and ports.
class FrameReceiver {
public:
    explicit FrameReceiver(FrameDispatcher& dispatcher) : dispatcher_(dispatcher) {}

    int FrameParser(std::uint8_t byte);
    // FrameParser over each byte in order, with the same effect; the search for a sync byte and
    // the payload are taken a run at a time.
    void ParseBytes(const std::uint8_t* bytes, std::size_t count);

    const ReceiveArea& Area() const { return area_; }

private:
    FrameDispatcher& dispatcher_;
    ReceiveArea area_{};
    std::uint8_t state_ = 0;
    std::uint16_t index_ = 0;
};

}  // namespace zephran
