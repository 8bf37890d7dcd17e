// Arbitrary bytes as a recording file: every record the reader keeps is sound, and every byte is
// either in a kept record or counted as skipped. The same bytes as its time file: every record
// gets one time, GPS time of week or not.
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
    const zephran::RecordTimes times =
        zephran::TimeRecords(recording.records, recording.places,
                             zephran::DecodeTimeEntries({data, size}), 1'800'000'000);
    if (times.seconds.size() != recording.records.size() ||
        times.timedRecords > times.seconds.size() || !times.utcStart)
        std::abort();
    return 0;
}
