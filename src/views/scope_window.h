#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "records/ahrs_records.h"
#include "ui/window.h"
#include "views/scope_model.h"

namespace zephran::views {

// One of the scope window's twelve traces: its texts, its vertical scale and where its value
// sits in AhrsLiveRecord.
struct ScopeTraceSpec {
    std::string_view name;
    std::string_view unit;
    double valuePerDivision;
    std::size_t offset;
};

inline constexpr std::size_t kScopeTraceCount = 12;

// The traces, in the window's order: four rows of three.
// clang-format off
inline constexpr std::array<ScopeTraceSpec, kScopeTraceCount> kScopeTraces{{
    {"Roll", "Degree", 100, 1},   {"Pitch", "Degree", 50, 5},   {"Yaw", "Degree", 100, 9},
    {"GyroX", "Degree", 200, 13}, {"GyroY", "Degree", 200, 17}, {"GyroZ", "Degree", 200, 21},
    {"AccX", "g", 1, 25},         {"AccY", "g", 1, 29},         {"AccZ", "g", 1, 33},
    {"MagX", " ", 150, 37},       {"MagY", " ", 150, 41},       {"MagZ", " ", 150, 45},
}};
// clang-format on
inline constexpr int kScopeColumns = 3;

// The float of the live record at a byte offset.
float LiveValueAt(const AhrsLiveRecord& live, std::size_t offset);

// The trace index of a name ("Roll", case ignored) or of a number 0 to 11; -1 if none.
int FindScopeTrace(std::string_view nameOrIndex);

// The scope window: twelve traces of the live record, sampled on its own 20 ms
// timer, shown modally. It sends nothing and never writes the record.
class CDlgScope : public ui::Window {
public:
    static constexpr int kSamplePeriodMs = 20;
    // A size each trace gets until a front end lays them out in its own.
    static constexpr int kNominalWidth = 300;
    static constexpr int kNominalHeight = 170;

    CDlgScope(ui::HostServices& host, const AhrsLiveRecord& live);

    std::array<ScopeModel, kScopeTraceCount>& Traces() { return traces_; }
    const std::array<ScopeModel, kScopeTraceCount>& Traces() const { return traces_; }
    ScopeModel& Trace(std::size_t index) { return traces_.at(index); }

    // The window's time starts at opening; every tick adds one sample to each trace, sets its
    // readout, and counts. Time is the steady clock's milliseconds since opening, 64 bits, so
    // it never runs backwards.
    void Open(std::int64_t nowMs);
    void Tick(std::int64_t nowMs);
    std::int64_t Ticks() const { return ticks_; }
    // Seconds since opening at a steady time.
    double SecondsAt(std::int64_t nowMs) const;

    // Closes the window (its close box).
    void Close() { EndDialog(ui::IDCANCEL); }

protected:
    void OnInitDialog() override;

private:
    const AhrsLiveRecord& live_;
    std::array<ScopeModel, kScopeTraceCount> traces_;
    std::int64_t openedAtMs_ = 0;
    std::int64_t ticks_ = 0;
};

// A caption size for front ends without fonts (the headless one): 7 pixels a character, 16
// high, and room for a readout of ten characters.
CaptionMetrics NominalCaption(std::string_view name, std::string_view unit);

}  // namespace zephran::views
