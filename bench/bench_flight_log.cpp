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

#include "recording/flight_series.h"
#include "recording/ground_track.h"
#include "recording/pixel_reduction.h"
#include "recording/record_times.h"
#include "recording/time_window.h"

namespace {

using namespace zephran;

constexpr int kRecords = 3600 * 50;
constexpr int kColumns = 1366;

// A circuit around a home point, with a GPS solution every fifth record; written once.
const std::string& LongFlight() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "zephran-bench-flight";
        std::filesystem::create_directories(dir);
        const std::string file = (dir / "2027-01-15-08-00-00.dat").string();
        std::ofstream records(file, std::ios::binary | std::ios::trunc);
        std::ofstream times(TimesPathFor(file), std::ios::binary | std::ios::trunc);
        for (int n = 0; n < kRecords; ++n) {
            const double t = n / 50.0;
            RecordSources sources;
            sources.navigation.lat = 31.2304 + 0.002 * std::sin(t / 60);
            sources.navigation.lon = 121.4737 + 0.002 * std::cos(t / 60);
            sources.navigation.hmsl = static_cast<float>(100 + 20 * std::sin(t / 300));
            sources.navigation.roll = static_cast<float>(30 * std::sin(t));
            sources.navigation.pitch = static_cast<float>(5 * std::cos(t / 3));
            sources.navigation.yaw = static_cast<float>(std::fmod(t * 6, 360));
            const std::int32_t weekMs = 460'818'000 + (n / 5) * 100;
            std::memcpy(sources.gpsRaw.data() + 1, &weekMs, 4);
            sources.gpsRaw[25] = 3;
            const LiveRecordBytes record = BuildLiveRecord(sources);
            records.write(reinterpret_cast<const char*>(record.data()), record.size());
            const TimeEntryBytes entry = EncodeTimeEntry(static_cast<std::uint32_t>(n * 20));
            times.write(reinterpret_cast<const char*>(entry.data()), entry.size());
        }
        return file;
    }();
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
