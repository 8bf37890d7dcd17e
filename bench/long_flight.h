// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "recording/live_record.h"
#include "recording/record_times.h"

namespace zephran::bench {

// One hour at 50 records a second (180,000 records, 43 MB) with its time file: a circuit around
// a home point with a GPS solution every fifth record, written into a folder of the temporary
// directory; returns the recording's path.
inline std::string WriteLongFlight(const std::string& folder) {
    constexpr int kRecords = 3600 * 50;
    const auto dir = std::filesystem::temp_directory_path() / folder;
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "2027-01-15-08-00-00.dat").string();
    std::ofstream records(file, std::ios::binary | std::ios::trunc);
    std::ofstream times(TimesPathFor(file), std::ios::binary | std::ios::trunc);
    for (int n = 0; n < kRecords; ++n) {
        const double t = n / 50.0;
        RecordSources sources;
        sources.navigation.lat = 31.2304 + 0.002 * std::sin(t / 60);
        sources.navigation.lon = 121.4737 + 0.002 * std::cos(t / 60);
        sources.navigation.hmsl = static_cast<float>(100 + 20 * std::sin(t / 300));
        sources.navigation.roll = static_cast<float>(30 * std::sin(t));
        sources.navigation.pitch = static_cast<float>(5 * std::cos(t / 3));
        sources.navigation.yaw = static_cast<float>(std::fmod(t * 6, 360));
        sources.navigation.vccN = static_cast<float>(10 * std::cos(t / 60));
        const std::int32_t weekMs = 460'818'000 + (n / 5) * 100;
        std::memcpy(sources.gpsRaw.data() + 1, &weekMs, 4);
        sources.gpsRaw[25] = 3;
        const LiveRecordBytes record = BuildLiveRecord(sources);
        records.write(reinterpret_cast<const char*>(record.data()), record.size());
        const TimeEntryBytes entry = EncodeTimeEntry(static_cast<std::uint32_t>(n * 20));
        times.write(reinterpret_cast<const char*>(entry.data()), entry.size());
    }
    return file;
}

}  // namespace zephran::bench
