#pragma once

#include "sim/board.h"

namespace zephran::sim {

// Makes the board the Vantrel OSD: it acknowledges each of its six screen settings given an
// option it has, and ignores the others.
void InstallOsdScreen(Board& board);

}  // namespace zephran::sim
