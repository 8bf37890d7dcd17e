#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/text_source.h"
#include "recording/live_record.h"
#include "recording/record_times.h"

namespace zephran {

// What a recording held besides sound records.
struct RecordingDamage {
    std::size_t badRecords = 0;    // a record's header with wrong sums or fields
    std::size_t skippedBytes = 0;  // bytes outside any sound record
    bool truncatedTail = false;    // the file ends inside a record

    bool Any() const { return badRecords != 0 || skippedBytes != 0 || truncatedTail; }
};

struct Recording {
    std::vector<LiveRecordBytes> records;
    // Where each record lay in the file, counted in whole records: its time file entry.
    std::vector<std::uint32_t> places;
    RecordTimes times;
    RecordingDamage damage;
};

// Splits a recording into its sound records. Anything else is skipped byte by byte until the
// next sound record starts, and counted, never trusted. The times are estimated from the records'
// places in the file, with no start.
Recording ParseRecording(std::span<const std::uint8_t> bytes);

// Reads and parses a recording file and times its records from its time file and its name;
// false when the recording cannot be read. A missing or unreadable time file leaves the times
// estimated.
bool ReadRecording(const std::string& path, Recording& recording);

// One line saying what was skipped, empty when nothing was.
std::string DescribeDamage(const RecordingDamage& damage, const TextSource& texts);
// Why a recording did not open.
std::string CannotReadRecording(const std::string& path, const TextSource& texts);

}  // namespace zephran
