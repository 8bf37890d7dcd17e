#pragma once

#include "pages/autopilot/dlg_airplane_pid.h"

namespace zephran {

// The attitude loops: the three angular rates and the three angles to the control surfaces.
class CDlgAirplanePIDInnerLoop : public CDlgAirplanePID {
public:
    static const Table kTable;

    CDlgAirplanePIDInnerLoop(PageHost& host, Identity identity)
        : CDlgAirplanePID(host, std::move(identity), kTable) {}
};

}  // namespace zephran
