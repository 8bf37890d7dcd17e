// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/text_source.h"
#include "recording/recording_columns.h"
#include "recording/recording_reader.h"

namespace zephran {

// The fields a viewer plots, in groups that share a plot: attitude, rates, accelerations,
// magnetometer, height, velocity, GPS quality. Latitude and longitude go to the ground track.
struct SeriesGroup {
    std::string_view name;
    std::vector<std::string_view> columns;  // names of RecordColumns()
    // Whether the group needs positions (a GPS/INS recording) to mean anything.
    bool navigation;
};
std::span<const SeriesGroup> SeriesGroups();
// The groups' names for the user in the language of texts, in SeriesGroups() order.
std::vector<std::string> GroupCaptions(const TextSource& texts);

// One field of every record, with the records' times.
struct Series {
    std::string_view name;  // the column's name with its unit
    std::vector<float> values;
};

// The series of a recording, taken from its records once when first asked for. The recording
// must outlive it.
class FlightSeries {
public:
    explicit FlightSeries(const Recording& recording);

    std::span<const double> Times() const { return recording_.times.seconds; }
    // The field named column (a RecordColumns() name), or nullptr when there is none.
    const Series* Find(std::string_view column);
    // Whether any record holds a GPS fix: the navigation groups and the track then apply.
    bool HasPositions() const { return hasPositions_; }
    const Recording& Source() const { return recording_; }

private:
    const Recording& recording_;
    // A deque keeps the series handed out in place as more are taken.
    std::deque<Series> taken_;
    bool hasPositions_;
};

// What a cursor at a moment reads: the nearest record, its time, and each asked-for field's value
// as the record holds it (full precision, not the plotted float).
struct CursorReadout {
    std::size_t record = 0;
    double time = 0;
    std::vector<std::pair<std::string_view, std::string>> values;
};
CursorReadout ReadoutAt(const Recording& recording, double time,
                        std::span<const std::string_view> columns);

}  // namespace zephran
