// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/ground_track.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace zephran {
namespace {

// The WGS-84 ellipsoid.
constexpr double kSemiMajor = 6378137.0;
constexpr double kEccentricity2 = 6.69437999014e-3;

}  // namespace

std::vector<GroundPoint> ProjectTrack(std::span<const TrackPoint> track) {
    std::vector<GroundPoint> points;
    if (track.empty()) return points;
    const double lat0 = track.front().lat * std::numbers::pi / 180;
    const double w = 1 - kEccentricity2 * std::sin(lat0) * std::sin(lat0);
    // Metres per radian along the meridian and along the parallel.
    const double meridian = kSemiMajor * (1 - kEccentricity2) / std::pow(w, 1.5);
    const double parallel = kSemiMajor / std::sqrt(w) * std::cos(lat0);
    const double radians = std::numbers::pi / 180;
    points.reserve(track.size());
    for (const TrackPoint& p : track) {
        double dLon = p.lon - track.front().lon;
        dLon -= 360 * std::round(dLon / 360);  // across the date line
        points.push_back(
            {dLon * radians * parallel, (p.lat - track.front().lat) * radians * meridian});
    }
    return points;
}

GroundTrackView::GroundTrackView(std::span<const GroundPoint> points, double width, double height,
                                 double margin)
    : width_(width), centreX_(width / 2), centreY_(height / 2) {
    if (points.empty()) return;
    const auto [westmost, eastmost] = std::ranges::minmax(points, {}, &GroundPoint::east);
    const auto [southmost, northmost] = std::ranges::minmax(points, {}, &GroundPoint::north);
    midEast_ = (westmost.east + eastmost.east) / 2;
    midNorth_ = (southmost.north + northmost.north) / 2;
    // A track that stays on one spot is shown over ten metres.
    const double spanEast = std::max(eastmost.east - westmost.east, 10.0);
    const double spanNorth = std::max(northmost.north - southmost.north, 10.0);
    scale_ = std::max(std::min((width - 2 * margin) / spanEast, (height - 2 * margin) / spanNorth),
                      1e-9);
}

ScaleBar GroundTrackView::Bar() const {
    const double most = width_ / 4 / scale_;
    double metres = std::pow(10.0, std::floor(std::log10(std::max(most, 1e-3))));
    for (const double step : {5.0, 2.0}) {
        if (metres * step <= most) {
            metres *= step;
            break;
        }
    }
    char label[32];
    if (metres >= 1000) {
        std::snprintf(label, sizeof label, "%g km", metres / 1000);
    } else {
        std::snprintf(label, sizeof label, "%g m", metres);
    }
    return {metres, metres * scale_, label};
}

std::vector<std::size_t> ThinnedTrack(std::span<const GroundPoint> points, double step) {
    std::vector<std::size_t> kept;
    for (std::size_t n = 0; n < points.size(); ++n) {
        const bool last = n + 1 == points.size();
        if (!kept.empty() && !last) {
            const GroundPoint& from = points[kept.back()];
            if (std::hypot(points[n].east - from.east, points[n].north - from.north) < step)
                continue;
        }
        kept.push_back(n);
    }
    return kept;
}

std::size_t TrackPointAt(std::span<const TrackPoint> track, std::size_t record) {
    const auto after = std::ranges::upper_bound(track, record, {}, &TrackPoint::record);
    return after == track.begin() ? 0 : static_cast<std::size_t>(after - track.begin()) - 1;
}

}  // namespace zephran
