#pragma once

#include "sim/board.h"

namespace zephran::sim {

// Makes the board the miniature AHRS: it streams its live record from power-on at the chosen
// output rate, keeps its parameter sets and runs its calibrations on request.
void InstallAhrs(Board& board);

}  // namespace zephran::sim
