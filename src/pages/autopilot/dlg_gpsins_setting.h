#pragma once

#include <cstddef>

#include "pages/framework/parameter_page.h"
#include "records/gpsins_records.h"

namespace zephran {

// The GPS/INS navigation filter's twelve noise parameters: read, written and reset to the
// board's defaults.
class CDlgGPSINSSetting : public ParameterPage {
public:
    enum : int { kRead = 1401, kWrite = 1402, kDefault = 1403 };
    static constexpr int kFirstBox = 1410;  // one box per parameter, in record order
    static constexpr int Box(std::size_t n) { return kFirstBox + static_cast<int>(n); }
    static const ParameterSet kQr;

    CDlgGPSINSSetting(PageHost& host, Identity identity);
};

}  // namespace zephran
