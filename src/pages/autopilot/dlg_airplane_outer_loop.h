#pragma once

#include "pages/autopilot/dlg_airplane_pid.h"

namespace zephran {

// The navigation and energy loops: heading, height, climb rate and speed.
class CDlgAirplaneOuterLoop : public CDlgAirplanePID {
public:
    static const Table kTable;

    CDlgAirplaneOuterLoop(PageHost& host, Identity identity)
        : CDlgAirplanePID(host, std::move(identity), kTable) {}
};

}  // namespace zephran
