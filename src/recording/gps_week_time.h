// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "recording/live_record.h"

namespace zephran {

// The calendar time (UTC seconds) of a GPS time of week, taking the week that puts it nearest
// to an approximate calendar time.
double UtcOfWeekTime(std::int32_t weekMs, double approximateUtc);

// How far the GPS time of week puts a recording's start from where its clock puts it: the median,
// over the records that first show a new GPS solution with a fix, of the solution's time less the
// record's clock time (approximateUtc[n]). Nothing when no record carries a solution.
std::optional<double> GpsCorrection(std::span<const LiveRecordBytes> records,
                                    std::span<const double> approximateUtc);

}  // namespace zephran
