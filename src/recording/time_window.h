// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>

namespace zephran {

// The part of a recording's time a viewer shows: zoomed about a moment, panned, reset to the
// whole recording, and never beyond it nor narrower than kShortest.
class TimeWindow {
public:
    static constexpr double kShortest = 0.05;  // seconds

    // The whole of [start, end] shown.
    TimeWindow(double start, double end);

    double From() const { return from_; }
    double To() const { return to_; }
    double Span() const { return to_ - from_; }

    // Scales the window by factor (below 1 zooms in) keeping the moment at keeps where it is.
    void Zoom(double factor, double at);
    // Moves the window by seconds, stopping at the recording's ends.
    void Pan(double seconds);
    void Reset();

private:
    // Keeps the window within the recording.
    void Clamp();

    double start_, end_;
    double from_, to_;
};

// The record nearest a moment, in ascending times; 0 for none.
std::size_t NearestRecord(std::span<const double> times, double at);

}  // namespace zephran
