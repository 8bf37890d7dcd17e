#pragma once

#include "link/text_source.h"
#include "ui/status_bar.h"

namespace zephran {

// Gives each status pane a tooltip in the current language saying what it shows (section
// "Panel", keys "Tip Status", "Tip Port", "Tip bps", "Tip RX", "Tip TX", "Tip Progress").
void ApplyStatusTips(ui::StatusBarModel& bar, const TextSource& texts);

}  // namespace zephran
