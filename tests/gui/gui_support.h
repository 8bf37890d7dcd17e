#pragma once

#include <QTest>

#include "frontends/qt/throttle.h"

namespace zephran::qt {

// Live displays and the status bar are redrawn at most once per throttle interval.
inline void LetThrottledDisplaysCatchUp() {
    QTest::qWait(3 * Throttle::kIntervalMs);
}

}  // namespace zephran::qt
