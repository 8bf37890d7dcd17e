// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "recording/recording_reader.h"

namespace zephran {

// A point of a recording's track: the navigation position of a record whose GPS block reports
// a fix.
struct TrackPoint {
    std::size_t record;
    double lat, lon;            // degrees
    double height;              // metres above mean sea level
    std::optional<double> utc;  // calendar seconds, when the recording's start is known
};

// Whether a record's GPS block reports a 2-D or 3-D fix.
bool HasFix(const LiveRecordBytes& record);

// The track of a recording, in record order: every record with a fix and a position on the
// globe. Empty for a recording without positions (an AHRS recording).
std::vector<TrackPoint> TrackOf(const Recording& recording);

}  // namespace zephran
