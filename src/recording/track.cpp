// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/track.h"

#include <cmath>
#include <cstring>

namespace zephran {
namespace {

using namespace live_record;

// The GPS block's fix type and the navigation sample's position, as the record holds them.
constexpr std::size_t kFixType = kGps + 25;
constexpr std::uint8_t kFix2D = 2;
constexpr std::size_t kLon = kNavigation, kLat = kNavigation + 8, kHmsl = kNavigation + 16;

template <typename V>
V At(const LiveRecordBytes& record, std::size_t offset) {
    V value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

bool OnTheGlobe(double lat, double lon, double height) {
    return std::isfinite(height) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

}  // namespace

bool HasFix(const LiveRecordBytes& record) {
    return record[kFixType] >= kFix2D;
}

std::vector<TrackPoint> TrackOf(const Recording& recording) {
    std::vector<TrackPoint> track;
    for (std::size_t n = 0; n < recording.records.size(); ++n) {
        const LiveRecordBytes& record = recording.records[n];
        if (!HasFix(record)) continue;
        const double lat = At<double>(record, kLat), lon = At<double>(record, kLon);
        const double height = At<float>(record, kHmsl);
        if (!OnTheGlobe(lat, lon, height)) continue;
        track.push_back({n, lat, lon, height, recording.times.Utc(n)});
    }
    return track;
}

}  // namespace zephran
