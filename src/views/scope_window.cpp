#include "views/scope_window.h"

#include <cctype>
#include <cstring>
#include <string>

namespace zephran::views {
namespace {

ui::WindowTemplate ScopeTemplate() {
    ui::WindowTemplate t;
    t.title = "Scope";
    return t;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

float LiveValueAt(const AhrsLiveRecord& live, std::size_t offset) {
    float value = 0;
    if (offset + sizeof value <= sizeof live) {
        std::memcpy(&value, reinterpret_cast<const unsigned char*>(&live) + offset, sizeof value);
    }
    return value;
}

int FindScopeTrace(std::string_view nameOrIndex) {
    if (!nameOrIndex.empty() && nameOrIndex.size() <= 2 &&
        std::isdigit(static_cast<unsigned char>(nameOrIndex[0]))) {
        int index = 0;
        for (char c : nameOrIndex) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
            index = index * 10 + (c - '0');
        }
        return index < static_cast<int>(kScopeTraceCount) ? index : -1;
    }
    for (std::size_t i = 0; i < kScopeTraces.size(); ++i) {
        if (SameIgnoringCase(kScopeTraces[i].name, nameOrIndex)) return static_cast<int>(i);
    }
    return -1;
}

CaptionMetrics NominalCaption(std::string_view name, std::string_view unit) {
    // The readout's room: ten characters ("-00000.000"), its inset and edges.
    return {static_cast<int>(name.size()) * 7, 16, static_cast<int>(unit.size()) * 7, 10 * 7 + 6};
}

CDlgScope::CDlgScope(ui::HostServices& host, const AhrsLiveRecord& live)
    : ui::Window(host, ScopeTemplate()), live_(live) {}

void CDlgScope::OnInitDialog() {
    for (std::size_t i = 0; i < kScopeTraces.size(); ++i) {
        const ScopeTraceSpec& spec = kScopeTraces[i];
        traces_[i].SetVerticalScale(spec.valuePerDivision);
        traces_[i].SetLabels(std::string(spec.name), std::string(spec.unit));
        traces_[i].Layout(kNominalWidth, kNominalHeight, NominalCaption(spec.name, spec.unit));
    }
}

void CDlgScope::Open(std::int64_t nowMs) {
    openedAtMs_ = nowMs;
    ticks_ = 0;
    for (ScopeModel& trace : traces_)
        trace.ClearSamples();
}

double CDlgScope::SecondsAt(std::int64_t nowMs) const {
    return static_cast<double>(nowMs - openedAtMs_) / 1000.0;
}

void CDlgScope::Tick(std::int64_t nowMs) {
    const double t = SecondsAt(nowMs);
    for (std::size_t i = 0; i < traces_.size(); ++i)
        traces_[i].AddSample(t, LiveValueAt(live_, kScopeTraces[i].offset));
    for (std::size_t i = 0; i < traces_.size(); ++i)
        traces_[i].SetReadout(LiveValueAt(live_, kScopeTraces[i].offset));
    ++ticks_;
}

}  // namespace zephran::views
