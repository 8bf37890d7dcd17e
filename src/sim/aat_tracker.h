#pragma once

#include "sim/board.h"

namespace zephran::sim {

// The antenna tracker's head and compass (group 11). The head follows an aircraft circling
// near the tracker and reports its pitch, yaw, position and altitude every 200 ms once the link is
// up (msgId 11). A compass calibration (msgId 1) turns the head one full turn at the calibration
// speed (degrees per second = speed / 50, within 10..360), reporting the compass's current, minimum
// and maximum every 100 ms (msgId 0); the offsets and scales then follow from the minimum and
// maximum (msgId 3). The speed (5, 6) and compass offset (7, 8) are kept; the default (4) restores
// them and the calibration to the factory's. Changes are acknowledged with an empty frame of
// their id; a speed that is not positive, or values that are not finite, go unanswered.
void InstallAatTracker(Board& board);

}  // namespace zephran::sim
