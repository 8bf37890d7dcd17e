#pragma once

#include "sim/board.h"

namespace zephran::sim {

// Makes the board the multicopter controller (group 17): it keeps whether the GPS/INS data goes
// straight through to its output (msgId 1, one byte: 0 normal mode, 1 direct output) and
// acknowledges each choice with an empty frame of that id; other values go unanswered.
void InstallMulticopter(Board& board);

}  // namespace zephran::sim
