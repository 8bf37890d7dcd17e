#pragma once

#include <array>

#include "pages/framework/parameter_page.h"

namespace zephran {

// The FIR filters of the three sensors: tap count and coefficients, read, written and reset.
class CDlgFIR : public ParameterPage {
public:
    enum Sensor { kGyro = 0, kAcc = 1, kMag = 2 };

    // The controls of one sensor's column.
    struct Column {
        int group, tapsLabel, taps, hint, coefficients, read, write, reset;
    };
    static const std::array<Column, 3> kColumns;
    static const std::array<ParameterSet, 3> kFilters;

    CDlgFIR(PageHost& host, Identity identity);

protected:
    void OnCommand(int id) override;
};

}  // namespace zephran
