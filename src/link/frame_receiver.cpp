#include "link/frame_receiver.h"

#include <algorithm>
#include <cstring>

#include "link/crc16.h"

namespace zephran {

int FrameReceiver::FrameParser(std::uint8_t byte) {
    switch (state_) {
        case 0:
            state_ = byte == kSync1 ? 1 : 0;
            return kParseByteTaken;
        case 1:
            state_ = byte == kSync2 ? 2 : 0;
            return kParseByteTaken;
        case 2:
            area_.group = byte;
            state_ = 3;
            return kParseByteTaken;
        case 3:
            area_.msgId = byte;
            state_ = 4;
            return kParseByteTaken;
        case 4:
            area_.length[0] = byte;
            area_.length[1] = 0;
            state_ = 5;
            return kParseByteTaken;
        case 5:
            area_.length[1] = byte;
            if (area_.Length() > kMaxPayload) {
                state_ = 0;
                return kParseLengthTooLong;
            }
            index_ = 0;
            state_ = 6;
            return kParseByteTaken;
        case 6:
            if (area_.Length() == 0) {
                area_.crc[0] = byte;
                state_ = 8;
                return kParseByteTaken;
            }
            area_.payload[index_++] = byte;
            if (index_ >= area_.Length()) {
                index_ = 0;
                state_ = 7;
            }
            return kParseByteTaken;
        case 7:
            area_.crc[0] = byte;
            state_ = 8;
            return kParseByteTaken;
        case 8: {
            area_.crc[1] = byte;
            state_ = 0;
            const auto* covered = reinterpret_cast<const std::uint8_t*>(&area_);
            const std::uint16_t crc = CalcCrc16(covered, area_.Length() + 4u);
            if ((crc >> 8) != area_.crc[1] || (crc & 0xFF) != area_.crc[0]) {
                return kParseCrcMismatch;
            }
            return dispatcher_.DispatchFrame(area_);
        }
        default:
            state_ = 0;
            return kParseByteTaken;
    }
}

void FrameReceiver::ParseBytes(const std::uint8_t* bytes, std::size_t count) {
    const std::uint8_t* at = bytes;
    const std::uint8_t* const end = bytes + count;
    while (at < end) {
        if (state_ == 0) {
            at = static_cast<const std::uint8_t*>(
                std::memchr(at, kSync1, static_cast<std::size_t>(end - at)));
            if (at == nullptr) return;
            state_ = 1;
            ++at;
        } else if (state_ == 6 && area_.Length() != 0) {
            const std::size_t run =
                std::min<std::size_t>(area_.Length() - index_, static_cast<std::size_t>(end - at));
            std::memcpy(area_.payload + index_, at, run);
            index_ = static_cast<std::uint16_t>(index_ + run);
            at += run;
            if (index_ >= area_.Length()) {
                index_ = 0;
                state_ = 7;
            }
        } else {
            FrameParser(*at++);
        }
    }
}

}  // namespace zephran
