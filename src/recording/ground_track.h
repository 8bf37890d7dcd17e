// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "recording/track.h"

namespace zephran {

// A track point on the ground: metres east and north of the track's first point.
struct GroundPoint {
    double east, north;
};

// Projects a track onto the plane touching the earth at its first point (WGS-84 radii of
// curvature there), which is true to well under a metre over the few kilometres of a flight.
std::vector<GroundPoint> ProjectTrack(std::span<const TrackPoint> track);

// A length for a scale bar: 1, 2 or 5 times a power of ten metres, in pixels, with its label.
struct ScaleBar {
    double metres;
    double pixels;
    std::string label;  // "200 m", "2 km"
};

// Places ground points in a plot of width by height pixels with the same scale east and north:
// the track centred, filling the plot less margin pixels on every side, north up.
class GroundTrackView {
public:
    GroundTrackView(std::span<const GroundPoint> points, double width, double height,
                    double margin);

    double PixelsPerMetre() const { return scale_; }
    // The pixel of a ground point, y growing downwards.
    double X(const GroundPoint& p) const { return centreX_ + (p.east - midEast_) * scale_; }
    double Y(const GroundPoint& p) const { return centreY_ - (p.north - midNorth_) * scale_; }
    // The ground at a pixel: the inverse of X and Y, for a plot's axis ranges.
    double EastAt(double x) const { return midEast_ + (x - centreX_) / scale_; }
    double NorthAt(double y) const { return midNorth_ - (y - centreY_) / scale_; }
    // The longest round length not over a quarter of the plot's width.
    ScaleBar Bar() const;

private:
    double scale_ = 1;
    double width_;
    double centreX_, centreY_;
    double midEast_ = 0, midNorth_ = 0;
};

// The points worth drawing of a track: the first, the last, and each one at least step metres
// from the last one kept. A curve through a hundred thousand points costs a plot far more than
// the few thousand a screen can tell apart.
std::vector<std::size_t> ThinnedTrack(std::span<const GroundPoint> points, double step);

// The track point shown for record (the last at or before it, else the first); 0 for an empty
// track.
std::size_t TrackPointAt(std::span<const TrackPoint> track, std::size_t record);

}  // namespace zephran
