// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/time_window.h"

#include <algorithm>

namespace zephran {

TimeWindow::TimeWindow(double start, double end)
    : start_(start), end_(std::max(end, start + kShortest)), from_(start_), to_(end_) {}

void TimeWindow::Zoom(double factor, double at) {
    const double span = std::clamp(Span() * factor, kShortest, end_ - start_);
    const double share = Span() > 0 ? std::clamp((at - from_) / Span(), 0.0, 1.0) : 0.5;
    from_ = at - share * span;
    to_ = from_ + span;
    Clamp();
}

void TimeWindow::Pan(double seconds) {
    from_ += seconds;
    to_ += seconds;
    Clamp();
}

void TimeWindow::Reset() {
    from_ = start_;
    to_ = end_;
}

void TimeWindow::Clamp() {
    const double span = Span();
    if (from_ < start_) {
        from_ = start_;
        to_ = start_ + span;
    }
    if (to_ > end_) {
        to_ = end_;
        from_ = end_ - span;
    }
}

std::size_t NearestRecord(std::span<const double> times, double at) {
    if (times.empty()) return 0;
    const auto after = std::lower_bound(times.begin(), times.end(), at);
    if (after == times.begin()) return 0;
    if (after == times.end()) return times.size() - 1;
    const auto before = after - 1;
    return static_cast<std::size_t>((at - *before <= *after - at ? before : after) - times.begin());
}

}  // namespace zephran
