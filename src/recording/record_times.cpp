// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/record_times.h"

#include <cstdio>
#include <filesystem>

#include "platform/file_system.h"
#include "recording/gps_week_time.h"

namespace zephran {

TimeEntryBytes EncodeTimeEntry(std::uint32_t ms) {
    return {static_cast<std::uint8_t>(ms), static_cast<std::uint8_t>(ms >> 8),
            static_cast<std::uint8_t>(ms >> 16), static_cast<std::uint8_t>(ms >> 24)};
}

std::vector<std::uint32_t> DecodeTimeEntries(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint32_t> entries(bytes.size() / kTimeEntrySize);
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::uint8_t* at = bytes.data() + n * kTimeEntrySize;
        entries[n] = static_cast<std::uint32_t>(at[0] | at[1] << 8 | at[2] << 16) |
                     static_cast<std::uint32_t>(at[3]) << 24;
    }
    return entries;
}

std::string TimesPathFor(const std::string& recordingPath) {
    const std::string suffix = ".dat";
    if (recordingPath.size() > suffix.size() && recordingPath.ends_with(suffix))
        return recordingPath.substr(0, recordingPath.size() - suffix.size()) + ".tim";
    return recordingPath + ".tim";
}

std::optional<std::time_t> RecordingStartFromName(const std::string& path) {
    const std::string name = Utf8FromPath(PathFromUtf8(path).filename());
    std::tm local{};
    int used = 0;
    if (std::sscanf(name.c_str(), "%4d-%2d-%2d-%2d-%2d-%2d%n", &local.tm_year, &local.tm_mon,
                    &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec, &used) != 6 ||
        used != 19)
        return std::nullopt;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t start = std::mktime(&local);
    if (start == static_cast<std::time_t>(-1)) return std::nullopt;
    return start;
}

RecordTimes TimeRecords(std::span<const LiveRecordBytes> records,
                        std::span<const std::uint32_t> places,
                        std::span<const std::uint32_t> entries, std::optional<std::time_t> start) {
    RecordTimes times;
    times.seconds.resize(records.size());
    // The last timed record: its place and time, from which later ones count on.
    std::uint32_t lastSlot = 0;
    double lastSeconds = 0;
    for (std::size_t n = 0; n < records.size(); ++n) {
        const std::uint32_t slot = n < places.size() ? places[n] : static_cast<std::uint32_t>(n);
        if (slot < entries.size()) {
            times.seconds[n] = entries[slot] / 1000.0;
            ++times.timedRecords;
            lastSlot = slot;
            lastSeconds = times.seconds[n];
        } else {
            times.seconds[n] = lastSeconds + (slot - lastSlot) / kUsualRecordsPerSecond;
        }
    }
    if (!start) return times;
    std::vector<double> clock(records.size());
    for (std::size_t n = 0; n < records.size(); ++n)
        clock[n] = static_cast<double>(*start) + times.seconds[n];
    times.utcStart = static_cast<double>(*start);
    if (const auto correction = GpsCorrection(records, clock)) {
        *times.utcStart += *correction;
        times.fromGps = true;
    }
    return times;
}

std::string DescribeTimes(const RecordTimes& times, const TextSource& texts) {
    if (times.AllTimed()) return {};
    if (times.timedRecords == 0) {
        return FillIn(AddedText(texts, "Recordings", "No Times",
                                "No time file: times are estimated at %1 records a second."),
                      {std::to_string(static_cast<int>(kUsualRecordsPerSecond))});
    }
    return FillIn(AddedText(texts, "Recordings", "Some Times",
                            "%1 records have no time: estimated at %2 records a second."),
                  {std::to_string(times.seconds.size() - times.timedRecords),
                   std::to_string(static_cast<int>(kUsualRecordsPerSecond))});
}

}  // namespace zephran
