// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/status_bar.h"

namespace zephran {

// Status codes of SetStatus: panes 0, 1, RX (pane 3), TX (pane 4), the progress bar, the baud
// rate (pane 2).
enum StatusCode : int {
    kStatusMain,
    kStatusPort,
    kStatusReceive,
    kStatusTransmit,
    kStatusProgress,
    kStatusBaud
};

// Shows text in the pane of code, or value on the progress bar for kStatusProgress.
void ShowStatus(ui::StatusBarModel& bar, int code, const std::string& text, int value);

}  // namespace zephran
