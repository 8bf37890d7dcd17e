#pragma once

#include "sim/board.h"

namespace zephran::sim {

// Makes the board the antenna tracker's motor controller (group 11): it keeps the pitch axis's
// power-on position, limit offsets and step, and the horizontal axis's PID controller and
// minimum output point, answers their reads and acknowledges each change it accepts with an
// empty frame of the same id. Offsets outside -100..100, a power-on position other than 0 or 1
// and values that are not finite go unanswered. The tracker's head and compass come with it
// (aat_tracker.h).
void InstallAat(Board& board);

}  // namespace zephran::sim
