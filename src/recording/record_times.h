// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/text_source.h"
#include "recording/live_record.h"

namespace zephran {

// Beside each recording lies its time file: the same name with ".tim" for ".dat", one entry per
// record in the order of the records, each the milliseconds from the recording's start to the
// record, unsigned 32-bit little-endian. It is written with the records and cut with them, so
// both hold the same number of whole entries.
inline constexpr std::size_t kTimeEntrySize = 4;
using TimeEntryBytes = std::array<std::uint8_t, kTimeEntrySize>;

// The rate the boards stream at unless told otherwise: the estimate for records without a time.
inline constexpr double kUsualRecordsPerSecond = 50.0;

TimeEntryBytes EncodeTimeEntry(std::uint32_t ms);
// The whole entries of a time file's bytes; a cut-short last entry is left out.
std::vector<std::uint32_t> DecodeTimeEntries(std::span<const std::uint8_t> bytes);

// The time file of a recording.
std::string TimesPathFor(const std::string& recordingPath);

// The local start time a recording's name tells ("2027-01-15-08-00-00.dat", perhaps with "-2"
// before ".dat"), as calendar time; nothing when the name tells none.
std::optional<std::time_t> RecordingStartFromName(const std::string& path);

// The time of every record of a recording.
struct RecordTimes {
    // Seconds from the recording's start, one per record.
    std::vector<double> seconds;
    // Records whose time came from the time file; the others are estimated from their place in
    // the file at the usual rate, counting on from the last timed record.
    std::size_t timedRecords = 0;
    // The calendar time (UTC seconds) of the start: the recording's name, corrected by the GPS
    // time of week where the records carry it; nothing when neither tells it.
    std::optional<double> utcStart;
    bool fromGps = false;

    bool AllTimed() const { return timedRecords == seconds.size(); }
    // The calendar time of record n, when the start is known.
    std::optional<double> Utc(std::size_t n) const {
        if (!utcStart) return std::nullopt;
        return *utcStart + seconds[n];
    }
};

// Times records from the time file's entries: a record's entry is the one at its place in the
// recording file (places, counted in whole records: a record at byte 484 is in place 2).
RecordTimes TimeRecords(std::span<const LiveRecordBytes> records,
                        std::span<const std::uint32_t> places,
                        std::span<const std::uint32_t> entries, std::optional<std::time_t> start);

// One line saying how many records have estimated times, empty when every record is timed.
std::string DescribeTimes(const RecordTimes& times, const TextSource& texts);

}  // namespace zephran
