// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/pixel_reduction.h"

#include <algorithm>
#include <cmath>

namespace zephran {

std::vector<PixelEnvelope> ReduceToPixels(std::span<const double> times,
                                          std::span<const float> values, double from, double to,
                                          int columns) {
    std::vector<PixelEnvelope> envelopes;
    const std::size_t count = std::min(times.size(), values.size());
    if (count == 0 || columns <= 0 || !(to > from)) return envelopes;
    const auto begin = times.begin();
    // The window's samples, widened by one on either side.
    std::size_t first =
        static_cast<std::size_t>(std::lower_bound(begin, begin + count, from) - begin);
    std::size_t end = static_cast<std::size_t>(std::upper_bound(begin, begin + count, to) - begin);
    if (first > 0) --first;
    if (end < count) ++end;
    const double perColumn = columns / (to - from);
    long column = 0;
    bool open = false;
    for (std::size_t n = first; n < end; ++n) {
        const float value = values[n];
        if (std::isnan(value)) continue;
        const double t = times[n];
        // The samples outside the window each keep a column of their own.
        const long at =
            t < from ? -1
            : t > to ? columns
                     : std::min<long>(static_cast<long>((t - from) * perColumn), columns - 1);
        if (open && at == column && t >= from && t <= to) {
            PixelEnvelope& e = envelopes.back();
            e.min = std::min(e.min, value);
            e.max = std::max(e.max, value);
            e.last = value;
            continue;
        }
        envelopes.push_back({t, value, value, value, value});
        column = at;
        open = true;
    }
    return envelopes;
}

}  // namespace zephran
