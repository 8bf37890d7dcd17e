#pragma once

#include <array>
#include <cstddef>

#include "pages/framework/parameter_page.h"

namespace zephran {

// The GPS/INS misc settings: mounting direction, running mode and the measurement updates the
// filter uses in GPSINS mode, each a choice of radio buttons over one byte of the misc record.
class CDlgGPSINSSettingMisc : public ParameterPage {
public:
    // The groups in the order the page shows them.
    enum Choice : std::size_t {
        kDirection,
        kRunningMode,
        kHorizontalVelocity,
        kVerticalVelocity,
        kAccelerationUpdate,
        kCompassUpdate,
        kChoiceCount
    };
    // The first radio button of each group; the others follow in index order.
    static constexpr std::array<int, kChoiceCount> kFirstRadio{1311, 1321, 1331, 1341, 1351, 1361};
    enum : int { kRead = 1371, kWrite = 1372 };

    static const ParameterSet kMisc;

    CDlgGPSINSSettingMisc(PageHost& host, Identity identity);
};

}  // namespace zephran
