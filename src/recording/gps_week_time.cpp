// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/gps_week_time.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zephran {
namespace {

// The GPS epoch, 1980-01-06, in Unix seconds, and GPS time's lead over UTC since 2017.
constexpr double kGpsEpoch = 315964800.0;
constexpr double kLeapSeconds = 18.0;
constexpr double kWeekSeconds = 604800.0;

// The GPS block's time of week and fix type (2: 2-D, 3: 3-D).
constexpr std::size_t kWeekTime = live_record::kGps + 1;
constexpr std::size_t kFixType = live_record::kGps + 25;
constexpr std::uint8_t kFix2D = 2;

std::int32_t WeekTimeOf(const LiveRecordBytes& record) {
    std::int32_t ms;
    std::memcpy(&ms, record.data() + kWeekTime, sizeof ms);
    return ms;
}

}  // namespace

double UtcOfWeekTime(std::int32_t weekMs, double approximateUtc) {
    const double gps = approximateUtc - kGpsEpoch + kLeapSeconds;
    const double weekStart = std::floor(gps / kWeekSeconds) * kWeekSeconds;
    double candidate = weekStart + weekMs / 1000.0;
    if (candidate - gps > kWeekSeconds / 2) candidate -= kWeekSeconds;
    if (gps - candidate > kWeekSeconds / 2) candidate += kWeekSeconds;
    return candidate + kGpsEpoch - kLeapSeconds;
}

std::optional<double> GpsCorrection(std::span<const LiveRecordBytes> records,
                                    std::span<const double> approximateUtc) {
    std::vector<double> differences;
    std::optional<std::int32_t> last;
    for (std::size_t n = 0; n < records.size() && n < approximateUtc.size(); ++n) {
        const std::int32_t weekMs = WeekTimeOf(records[n]);
        const bool fix = records[n][kFixType] >= kFix2D;
        const bool fresh = !last || *last != weekMs;
        last = weekMs;
        if (!fix || !fresh || weekMs < 0 || weekMs >= kWeekSeconds * 1000) continue;
        differences.push_back(UtcOfWeekTime(weekMs, approximateUtc[n]) - approximateUtc[n]);
    }
    if (differences.empty()) return std::nullopt;
    const auto middle = differences.begin() + static_cast<std::ptrdiff_t>(differences.size() / 2);
    std::nth_element(differences.begin(), middle, differences.end());
    return *middle;
}

}  // namespace zephran
