#include "sim/frame_codec.h"

#include <algorithm>

#include "link/crc16.h"

namespace zephran::sim {
namespace {

constexpr std::size_t kHeader = 6;  // sync, group, msgId, length

}  // namespace

Bytes EncodeFrame(std::uint8_t group, std::uint8_t msgId, std::span<const std::uint8_t> payload) {
    const std::size_t length = std::min(payload.size(), kMaxPayload);
    Bytes frame{kSync1, kSync2, group, msgId};
    PutU16(frame, 4, static_cast<std::uint16_t>(length));
    frame.insert(frame.end(), payload.begin(), payload.begin() + static_cast<long>(length));
    PutU16(frame, kHeader + length, CalcCrc16(frame.data() + 2, length + 4));
    return frame;
}

std::vector<Frame> FrameDecoder::Feed(std::span<const std::uint8_t> bytes) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    std::vector<Frame> frames;
    const std::span<const std::uint8_t> data(buffer_);
    std::size_t pos = 0;
    for (;;) {
        while (pos + 1 < data.size() && !(data[pos] == kSync1 && data[pos + 1] == kSync2))
            ++pos;
        if (pos + 1 >= data.size()) {
            // A last 'T' may still become a sync word.
            if (pos < data.size() && data[pos] != kSync1) pos = data.size();
            break;
        }
        if (data.size() - pos < kHeader) break;
        const std::size_t length = GetU16(data, pos + 4);
        if (length > kMaxPayload) {
            ++pos;
            continue;
        }
        if (data.size() - pos < length + kFrameOverhead) break;
        const std::uint16_t crc = CalcCrc16(data.data() + pos + 2, length + 4);
        if (GetU16(data, pos + kHeader + length) != crc) {
            ++pos;
            continue;
        }
        const auto payload = data.subspan(pos + kHeader, length);
        frames.push_back({data[pos + 2], data[pos + 3], Bytes(payload.begin(), payload.end())});
        pos += length + kFrameOverhead;
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(pos));
    return frames;
}

}  // namespace zephran::sim
