// Arbitrary received bytes through the frame parser into a dispatch that copies each payload
// into a fixed-size record, the way replies land in their receive records.
#include <algorithm>
#include <cstring>

#include "link/frame_receiver.h"

namespace {

struct LiveRecord {
    std::uint8_t bytes[49];
};

struct BoundedDispatcher : zephran::FrameDispatcher {
    int DispatchFrame(const zephran::ReceiveArea& frame) override {
        const std::size_t count = std::min<std::size_t>(frame.Length(), sizeof record.bytes);
        std::memcpy(record.bytes, frame.payload, count);
        ++frames;
        return 0;
    }
    LiveRecord record{};
    unsigned frames = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BoundedDispatcher dispatcher;
    zephran::FrameReceiver receiver(dispatcher);
    for (std::size_t i = 0; i < size; ++i) {
        const int result = receiver.FrameParser(data[i]);
        if (result != zephran::kParseByteTaken && result != zephran::kParseCrcMismatch &&
            result != zephran::kParseLengthTooLong) {
            __builtin_trap();
        }
    }
    return 0;
}
