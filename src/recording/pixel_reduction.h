// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

namespace zephran {

// What one pixel column of a plot shows of a series: the samples falling in it, as their first
// and last values and every minimum and maximum, at the time of its first sample.
struct PixelEnvelope {
    double time;
    float first, min, max, last;
};

// Reduces a series (times ascending, one value each) over the time window [from, to] to at most
// one envelope per pixel column of a plot columns wide, plus the nearest sample on either side
// of the window so that lines run on to the plot's edges. Where a column holds one sample, its
// envelope is that sample. No sample's value is lost from the minimum and maximum of its column,
// so a spike of a single record shows at any zoom. Samples that are not numbers are left out.
std::vector<PixelEnvelope> ReduceToPixels(std::span<const double> times,
                                          std::span<const float> values, double from, double to,
                                          int columns);

}  // namespace zephran
