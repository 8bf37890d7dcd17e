// SPDX-License-Identifier: GPL-3.0-or-later
// The flight-log viewer's model on a one-hour GPS/INS recording at 50 records a second (180,000
// records, 43 MB, with its time file): opening it (reading, timing, taking every plotted series
// and the track), and what a zoom or pan redraws (every plotted series reduced to the columns of
// a 1366-pixel-wide plot).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "long_flight.h"
#include "recording/flight_series.h"
#include "recording/ground_track.h"
#include "recording/pixel_reduction.h"
#include "recording/record_times.h"
#include "recording/time_window.h"

namespace {

using namespace zephran;

constexpr int kColumns = 1366;

// The long flight, written once.
const std::string& LongFlight() {
    static const std::string path = bench::WriteLongFlight("zephran-bench-flight");
    return path;
}

std::vector<std::string_view> PlottedColumns() {
    std::vector<std::string_view> columns;
    for (const SeriesGroup& group : SeriesGroups())
        columns.insert(columns.end(), group.columns.begin(), group.columns.end());
    return columns;
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_OpenOneHourRecording(benchmark::State& state) {
    const std::string& file = LongFlight();
    const auto fileBytes = static_cast<double>(std::filesystem::file_size(file));
    for (auto _ : state) {
        Recording recording;
        if (!ReadRecording(file, recording)) state.SkipWithError("cannot read the recording");
        FlightSeries series(recording);
        for (const std::string_view column : PlottedColumns())
            benchmark::DoNotOptimize(series.Find(column));
        const auto track = TrackOf(recording);
        benchmark::DoNotOptimize(ProjectTrack(track));
    }
    state.counters["peak_rss_per_file_size"] = PeakRssKiB() * 1024.0 / fileBytes;
}
BENCHMARK(BM_OpenOneHourRecording)->Unit(benchmark::kMillisecond);

// Every plotted series reduced for one window: the whole hour, or ten seconds in its middle.
void BM_RedrawAllSeries(benchmark::State& state) {
    Recording recording;
    ReadRecording(LongFlight(), recording);
    FlightSeries series(recording);
    std::vector<const Series*> shown;
    for (const std::string_view column : PlottedColumns())
        shown.push_back(series.Find(column));
    TimeWindow window(series.Times().front(), series.Times().back());
    if (state.range(0) != 0) window.Zoom(10.0 / window.Span(), 1800);
    for (auto _ : state) {
        for (const Series* s : shown)
            benchmark::DoNotOptimize(
                ReduceToPixels(series.Times(), s->values, window.From(), window.To(), kColumns));
    }
    state.SetLabel(state.range(0) == 0 ? "whole hour" : "10 s");
}
BENCHMARK(BM_RedrawAllSeries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
