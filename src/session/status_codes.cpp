// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/status_codes.h"

#include <array>
#include <cstddef>

namespace zephran {

void ShowStatus(ui::StatusBarModel& bar, int code, const std::string& text, int value) {
    // The pane of each text code: main, port, RX, TX, (progress), baud.
    static constexpr std::array<int, 6> kPaneOf{0, 1, 3, 4, -1, 2};
    if (code == kStatusProgress) {
        bar.SetProgress(value);
    } else if (code >= 0 && code < static_cast<int>(kPaneOf.size())) {
        bar.SetPaneText(kPaneOf[static_cast<std::size_t>(code)], text);
    }
}

}  // namespace zephran
