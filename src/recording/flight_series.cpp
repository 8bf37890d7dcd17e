// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/flight_series.h"

#include <algorithm>
#include <array>

#include "recording/time_window.h"
#include "recording/track.h"

namespace zephran {
namespace {

const std::array<SeriesGroup, 7> kGroups{{
    {"Attitude", {"roll (deg)", "pitch (deg)", "yaw (deg)"}, false},
    {"Rates", {"gx (rad/s)", "gy (rad/s)", "gz (rad/s)"}, false},
    {"Accelerations", {"ax (m/s2)", "ay (m/s2)", "az (m/s2)"}, false},
    {"Magnetometer", {"mx (board unit)", "my (board unit)", "mz (board unit)"}, false},
    {"Height", {"hmsl (m)", "gps hmsl (m)", "sensor hmsl (m)"}, true},
    {"Velocity", {"vel n (m/s)", "vel e (m/s)", "vel d (m/s)"}, true},
    {"GPS quality", {"gps fix (type)", "gps satellites (count)", "gps pdop (1)"}, true},
}};

}  // namespace

std::span<const SeriesGroup> SeriesGroups() {
    return kGroups;
}

std::vector<std::string> GroupCaptions(const TextSource& texts) {
    return {AddedText(texts, "FlightLog", "Attitude", "Attitude"),
            AddedText(texts, "FlightLog", "Rates", "Rates"),
            AddedText(texts, "FlightLog", "Accelerations", "Accelerations"),
            AddedText(texts, "FlightLog", "Magnetometer", "Magnetometer"),
            AddedText(texts, "FlightLog", "Height", "Height"),
            AddedText(texts, "FlightLog", "Velocity", "Velocity"),
            AddedText(texts, "FlightLog", "GPS Quality", "GPS quality")};
}

FlightSeries::FlightSeries(const Recording& recording)
    : recording_(recording), hasPositions_(std::ranges::any_of(recording.records, HasFix)) {}

const Series* FlightSeries::Find(std::string_view column) {
    if (const auto taken = std::ranges::find(taken_, column, &Series::name); taken != taken_.end())
        return &*taken;
    const auto columns = RecordColumns();
    const auto found = std::ranges::find(columns, column, &RecordColumn::name);
    if (found == columns.end()) return nullptr;
    Series& series = taken_.emplace_back(Series{found->name, {}});
    series.values.reserve(recording_.records.size());
    for (const LiveRecordBytes& record : recording_.records)
        series.values.push_back(static_cast<float>(ColumnValue(record, *found)));
    return &series;
}

CursorReadout ReadoutAt(const Recording& recording, double time,
                        std::span<const std::string_view> columns) {
    CursorReadout readout;
    if (recording.records.empty()) return readout;
    readout.record = NearestRecord(recording.times.seconds, time);
    readout.time = recording.times.seconds[readout.record];
    const auto all = RecordColumns();
    for (const std::string_view name : columns) {
        const auto column = std::ranges::find(all, name, &RecordColumn::name);
        if (column == all.end()) continue;
        readout.values.emplace_back(name, FormatColumn(recording.records[readout.record], *column));
    }
    return readout;
}

}  // namespace zephran
