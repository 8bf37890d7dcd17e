#pragma once

#include <array>

#include "app/page.h"
#include "pages/parameter_set.h"

namespace zephran {

// The FIR filters of the three sensors: tap count and coefficients, read, written and reset.
class CDlgFIR : public Page {
public:
    enum Sensor { kGyro = 0, kAcc = 1, kMag = 2 };

    // The controls of one sensor's column.
    struct Column {
        int group, tapsLabel, taps, hint, coefficients, read, write, reset;
    };
    static const std::array<Column, 3> kColumns;
    static const std::array<ParameterSet, 3> kFilters;

    CDlgFIR(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    std::array<ParameterSetBinding, 3> filters{{{kFilters[kGyro], *this, host_},
                                                {kFilters[kAcc], *this, host_},
                                                {kFilters[kMag], *this, host_}}};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
};

}  // namespace zephran
