// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

}  // namespace zephran
