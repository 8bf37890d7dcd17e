// Arbitrary bytes as a parameter file for the AHRS product: the reader either refuses them with
// a reason or gives sets whose records have their layout's size, and what it gives is written
// and read back to the same records.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "link/text_source.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_fir.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "params/parameter_file.h"
#include "records/record_store.h"

namespace {

std::vector<zephran::SetLayout> Layouts() {
    using namespace zephran;
    static RecordStore records;
    std::vector<SetLayout> layouts{LayoutOf(CDlgAHRSSetting::kNoise, records),
                                   LayoutOf(CAATServoSet::kOffsets, records),
                                   LayoutOf(CAATServoSet::kServoGapSet, records)};
    for (const ParameterSet& set : CDlgFIR::kFilters)
        layouts.push_back(LayoutOf(set, records));
    for (const ParameterSet& set : CDlgSensorCalibrate::kSets)
        layouts.push_back(LayoutOf(set, records));
    return layouts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<zephran::SetLayout> layouts = Layouts();
    static const zephran::NoTexts texts;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zephran::FileReading reading = zephran::ReadParameterFile(text, "AHRS", layouts, texts);
    if (reading.snapshot.has_value() == !reading.error.empty()) std::abort();
    if (!reading.snapshot) return 0;
    for (const zephran::SetSnapshot& set : reading.snapshot->sets) {
        const auto layout = std::find_if(layouts.begin(), layouts.end(),
                                         [&set](const auto& l) { return l.set == set.set; });
        if (layout == layouts.end() || set.record.size() != layout->recordSize) std::abort();
    }
    const zephran::FileReading again = zephran::ReadParameterFile(
        zephran::WriteParameterFile(*reading.snapshot), "AHRS", layouts, texts);
    if (!again.snapshot || again.snapshot->sets.size() != reading.snapshot->sets.size())
        std::abort();
    for (std::size_t i = 0; i < again.snapshot->sets.size(); ++i) {
        if (again.snapshot->sets[i].record != reading.snapshot->sets[i].record) std::abort();
    }
    return 0;
}
