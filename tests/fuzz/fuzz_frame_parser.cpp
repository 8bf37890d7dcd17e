// Arbitrary received bytes through the frame parser into a dispatch that copies each payload
// into a fixed-size record, the way replies land in their receive records. The same bytes go
// once byte by byte and once in runs of the lengths the input's first byte picks: both must
// dispatch the same frames.
#include <algorithm>
#include <cstring>
#include <vector>

#include "link/frame_receiver.h"

namespace {

struct LiveRecord {
    std::uint8_t bytes[49];
};

struct RecordingDispatcher : zephran::FrameDispatcher {
    int DispatchFrame(const zephran::ReceiveArea& frame) override {
        const std::size_t count = std::min<std::size_t>(frame.Length(), sizeof record.bytes);
        std::memcpy(record.bytes, frame.payload, count);
        const auto* raw = reinterpret_cast<const std::uint8_t*>(&frame);
        frames.emplace_back(raw, raw + 4 + frame.Length());
        return 0;
    }
    LiveRecord record{};
    std::vector<std::vector<std::uint8_t>> frames;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingDispatcher byteWise;
    zephran::FrameReceiver receiver(byteWise);
    for (std::size_t i = 0; i < size; ++i) {
        const int result = receiver.FrameParser(data[i]);
        if (result != zephran::kParseByteTaken && result != zephran::kParseCrcMismatch &&
            result != zephran::kParseLengthTooLong) {
            __builtin_trap();
        }
    }

    RecordingDispatcher inRuns;
    zephran::FrameReceiver runReceiver(inRuns);
    const std::size_t run = size == 0 ? 1 : data[0] % 64 + 1;
    for (std::size_t at = 0; at < size; at += run)
        runReceiver.ParseBytes(data + at, std::min(run, size - at));
    if (inRuns.frames != byteWise.frames) __builtin_trap();
    return 0;
}
