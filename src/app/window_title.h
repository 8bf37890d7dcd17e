#pragma once

#include <string>

#include "link/text_source.h"
#include "session/connection_manager.h"

namespace zephran {

// The main window's title: its caption, then the port in use, then whether the board has not
// answered yet; or that no port is open (section "Panel", keys "Title Waiting" and
// "Title No Port"). Connected: "ZephranFPV V3.5 — COM1 /dev/ttyUSB0 (FTDI FT232R)".
std::string WindowTitle(const std::string& caption, const ConnectionManager& connection,
                        const TextSource& texts);

}  // namespace zephran
