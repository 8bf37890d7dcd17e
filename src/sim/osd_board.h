#pragma once

#include "sim/board.h"

namespace zephran::sim {

// Makes the board the Vantrel OSD: it acknowledges each of its six screen settings given an
// option it has, and ignores the others.
void InstallOsdScreen(Board& board);

// Makes the board keep its current, voltage and RSSI calibrations (group 9). Its current
// sensor gives 0.6 V plus 0.04 V per ampere, and the board takes a known current it is told as
// the one flowing; its battery input divides by 10.9. The voltage point reads see a bench
// supply at 11.1 V for point A and 16.8 V for point B, and an RSSI calibration sweeps the
// receiver's output from 0.42 V to 2.87 V.
void InstallOsdCalibration(Board& board);

// The Vantrel OSD with its screen settings and its calibrations.
void InstallVantrel(Board& board);

}  // namespace zephran::sim
