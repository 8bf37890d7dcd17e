#pragma once

#include "pages/framework/parameter_page.h"

namespace zephran {

// The attitude filter's noise parameters: read, written and reset to the board's defaults.
class CDlgAHRSSetting : public ParameterPage {
public:
    enum : int { kGyroNoise = 1005, kAccNoise = 1016, kCompassNoise = 1015 };
    enum : int { kRead = 1177, kWrite = 1178, kDefault = 1179 };
    static const ParameterSet kNoise;

    CDlgAHRSSetting(PageHost& host, Identity identity);
};

}  // namespace zephran
