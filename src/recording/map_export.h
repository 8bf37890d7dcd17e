// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>

#include "recording/track.h"

namespace zephran {

// A track as GPX 1.1: one track of one segment, a point per track point with its height as
// "ele" and, when known, its UTC time. False when out cannot be written.
bool WriteGpx(std::span<const TrackPoint> track, const std::string& name, const std::string& out);

// A track as KML: the track as a line with absolute altitudes, and placemarks at its start and
// end. False when out cannot be written.
bool WriteKml(std::span<const TrackPoint> track, const std::string& name, const std::string& out);

// A calendar time as ISO 8601 UTC with milliseconds: "2027-01-15T08:00:00.020Z".
std::string IsoUtc(double utc);

}  // namespace zephran
