// Arbitrary bytes as a recording file: every record the reader keeps is sound, and every byte is
// either in a kept record or counted as skipped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "recording/recording_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zephran::Recording recording = zephran::ParseRecording({data, size});
    for (const zephran::LiveRecordBytes& record : recording.records) {
        if (!zephran::IsSoundRecord(record)) std::abort();
    }
    if (recording.records.size() * zephran::kLiveRecordSize + recording.damage.skippedBytes != size)
        std::abort();
    return 0;
}
