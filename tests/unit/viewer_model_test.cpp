// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "recording/flight_series.h"
#include "recording/ground_track.h"
#include "recording/pixel_reduction.h"
#include "recording/time_window.h"

namespace zephran {
namespace {

// 100,000 samples 20 ms apart, all 0 but one record of 100 and one of -50.
struct SpikedSeries {
    static constexpr std::size_t kSpike = 54'321, kDip = 54'322;
    std::vector<double> times;
    std::vector<float> values;
    SpikedSeries() {
        for (std::size_t n = 0; n < 100'000; ++n) {
            times.push_back(0.02 * static_cast<double>(n));
            values.push_back(n == kSpike ? 100.0f : n == kDip ? -50.0f : 0.0f);
        }
    }
};

float Highest(const std::vector<PixelEnvelope>& envelopes) {
    float most = -1e9f;
    for (const PixelEnvelope& e : envelopes)
        most = std::max(most, e.max);
    return most;
}
float Lowest(const std::vector<PixelEnvelope>& envelopes) {
    float least = 1e9f;
    for (const PixelEnvelope& e : envelopes)
        least = std::min(least, e.min);
    return least;
}

TEST(PixelReduction, ASpikeOfOneRecordSurvivesAnyZoom) {
    const SpikedSeries s;
    const double spike = s.times[SpikedSeries::kSpike];
    TimeWindow window(s.times.front(), s.times.back());
    // Zoom in about the spike, and about moments around it, down to the shortest window.
    for (const double offset : {0.0, -0.013, 0.017, 0.5, -3.0}) {
        window.Reset();
        for (int step = 0; step < 40; ++step) {
            for (const int columns : {1, 7, 300, 1366, 3000}) {
                const auto envelopes =
                    ReduceToPixels(s.times, s.values, window.From(), window.To(), columns);
                ASSERT_LE(envelopes.size(), static_cast<std::size_t>(columns) + 2);
                if (window.From() <= spike && spike <= window.To()) {
                    EXPECT_EQ(Highest(envelopes), 100.0f) << window.From() << " " << columns;
                    EXPECT_EQ(Lowest(envelopes), -50.0f) << window.From() << " " << columns;
                }
            }
            window.Zoom(0.7, spike + offset);
        }
    }
}

TEST(PixelReduction, FewSamplesAreDrawnAsTheyAreWithTheirNeighboursOutside) {
    const std::vector<double> times{0, 1, 2, 3, 4, 5};
    const std::vector<float> values{0, 10, NAN, 30, 40, 50};
    const auto envelopes = ReduceToPixels(times, values, 1.5, 4.5, 100);
    // 1 and 5 lie outside the window and lead the lines on; 2 is not a number.
    ASSERT_EQ(envelopes.size(), 4u);
    EXPECT_EQ(envelopes[0].time, 1.0);
    EXPECT_EQ(envelopes[1].time, 3.0);
    EXPECT_EQ(envelopes[2].max, 40.0f);
    EXPECT_EQ(envelopes[3].first, 50.0f);
    // One column: everything inside in one envelope, first and last in order.
    const auto one = ReduceToPixels(times, values, 0, 5, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].first, 0.0f);
    EXPECT_EQ(one[0].last, 50.0f);
    EXPECT_EQ(one[0].max, 50.0f);
    EXPECT_TRUE(ReduceToPixels(times, values, 3, 3, 100).empty());
    EXPECT_TRUE(ReduceToPixels({}, {}, 0, 1, 100).empty());
}

TEST(TimeWindow, ZoomKeepsTheMomentUnderThePointerAndStaysWithinTheRecording) {
    TimeWindow window(10, 110);
    window.Zoom(0.5, 35);  // a quarter of the way in
    EXPECT_DOUBLE_EQ(window.From(), 22.5);
    EXPECT_DOUBLE_EQ(window.To(), 72.5);
    window.Pan(-100);
    EXPECT_DOUBLE_EQ(window.From(), 10);
    EXPECT_DOUBLE_EQ(window.Span(), 50);
    window.Pan(1000);
    EXPECT_DOUBLE_EQ(window.To(), 110);
    for (int n = 0; n < 100; ++n)
        window.Zoom(0.1, 100);
    EXPECT_NEAR(window.Span(), TimeWindow::kShortest, 1e-9);
    window.Zoom(1e6, 100);
    EXPECT_DOUBLE_EQ(window.From(), 10);
    EXPECT_DOUBLE_EQ(window.To(), 110);
    window.Zoom(0.5, 60);
    window.Reset();
    EXPECT_DOUBLE_EQ(window.Span(), 100);
}

TEST(Cursor, ReadsTheNearestRecordAtFullPrecision) {
    EXPECT_EQ(NearestRecord(std::vector<double>{0, 1, 2}, -5), 0u);
    EXPECT_EQ(NearestRecord(std::vector<double>{0, 1, 2}, 1.4), 1u);
    EXPECT_EQ(NearestRecord(std::vector<double>{0, 1, 2}, 1.6), 2u);
    EXPECT_EQ(NearestRecord(std::vector<double>{0, 1, 2}, 9), 2u);
    EXPECT_EQ(NearestRecord({}, 1), 0u);

    Recording recording;
    for (int n = 0; n < 3; ++n) {
        RecordSources sources;
        sources.navigation.roll = 10.0f * static_cast<float>(n);
        sources.navigation.lat = 48.123456789 + n;
        recording.records.push_back(BuildLiveRecord(sources));
        recording.times.seconds.push_back(0.5 * n);
    }
    const std::vector<std::string_view> columns{"roll (deg)", "lat (deg)", "no such field"};
    const CursorReadout readout = ReadoutAt(recording, 0.8, columns);
    EXPECT_EQ(readout.record, 2u);
    EXPECT_EQ(readout.time, 1.0);
    ASSERT_EQ(readout.values.size(), 2u);
    EXPECT_EQ(readout.values[0].second, "20");
    EXPECT_EQ(readout.values[1].second, "50.123456789000002");

    FlightSeries series(recording);
    const Series* roll = series.Find("roll (deg)");
    ASSERT_NE(roll, nullptr);
    for (int n = 0; n < 10; ++n)
        series.Find(SeriesGroups()[static_cast<std::size_t>(n) % 7].columns[0]);
    EXPECT_EQ(roll->values, (std::vector<float>{0, 10, 20}));
    EXPECT_EQ(series.Find("no such field"), nullptr);
    EXPECT_FALSE(series.HasPositions());
}

// The captions, in the built-in English, name the groups in their order.
TEST(FlightSeries, GroupCaptionsFollowTheGroups) {
    const auto groups = SeriesGroups();
    const auto captions = GroupCaptions(NoTexts{});
    ASSERT_EQ(captions.size(), groups.size());
    for (std::size_t n = 0; n < groups.size(); ++n)
        EXPECT_EQ(captions[n], groups[n].name) << n;
}

TrackPoint At(double lat, double lon, std::size_t record = 0) {
    return {record, lat, lon, 0, std::nullopt};
}

TEST(GroundTrack, MetresEastAndNorthOfTheFirstFix) {
    // At 45 degrees a thousandth of a degree is 111.13 m north and 78.85 m east.
    const std::vector<TrackPoint> track{At(45, 7), At(45.001, 7), At(45, 7.001), At(45, -179.999)};
    const auto points = ProjectTrack(track);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].east, 0);
    EXPECT_NEAR(points[1].north, 111.133, 0.01);
    EXPECT_NEAR(points[1].east, 0, 1e-9);
    EXPECT_NEAR(points[2].east, 78.847, 0.01);
    // Across the date line the short way round.
    EXPECT_LT(std::fabs(points[3].east), 1.5e7);
}

TEST(GroundTrack, EqualScalesCentredNorthUpWithARoundScaleBar) {
    const std::vector<GroundPoint> points{{0, 0}, {1000, 100}, {500, 50}};
    const GroundTrackView view(points, 400, 400, 20);
    EXPECT_DOUBLE_EQ(view.PixelsPerMetre(), 0.36);
    EXPECT_DOUBLE_EQ(view.X(points[0]), 20);
    EXPECT_DOUBLE_EQ(view.X(points[1]), 380);
    EXPECT_DOUBLE_EQ(view.Y(points[2]), 200);
    // North is up, at the same scale as east.
    EXPECT_DOUBLE_EQ(view.Y(points[0]) - view.Y(points[1]), 36);
    EXPECT_DOUBLE_EQ(view.EastAt(view.X(points[1])), 1000);
    EXPECT_DOUBLE_EQ(view.NorthAt(0), 50 + 200 / 0.36);
    const ScaleBar bar = view.Bar();
    EXPECT_EQ(bar.label, "200 m");
    EXPECT_DOUBLE_EQ(bar.pixels, 72);
    EXPECT_EQ(GroundTrackView(points, 4000, 40, 0).Bar().label, "2 km");

    // Thinning keeps the ends and a point every step metres.
    std::vector<GroundPoint> line;
    for (int n = 0; n <= 1000; ++n)
        line.push_back({0.1 * n, 0});
    const auto kept = ThinnedTrack(line, 1.95);
    ASSERT_EQ(kept.size(), 51u);
    EXPECT_EQ(kept[1], 20u);
    EXPECT_EQ(kept.back(), 1000u);
    EXPECT_EQ(ThinnedTrack(std::vector<GroundPoint>{{0, 0}}, 5).size(), 1u);

    const std::vector<TrackPoint> track{At(1, 1, 4), At(1, 1, 5), At(1, 1, 9)};
    EXPECT_EQ(TrackPointAt(track, 0), 0u);
    EXPECT_EQ(TrackPointAt(track, 5), 1u);
    EXPECT_EQ(TrackPointAt(track, 8), 1u);
    EXPECT_EQ(TrackPointAt(track, 100), 2u);
}

}  // namespace
}  // namespace zephran
