#pragma once

#include <string>

#include "link/port_directory.h"
#include "link/text_source.h"

namespace zephran {

// The main window's title: its caption, then the port in use, then whether the board has not
// answered yet; or that no port is open (section "Panel", keys "Title Waiting" and
// "Title No Port"). Connected: "ZephranFPV V3.5 — COM1 /dev/ttyUSB0 (FTDI FT232R)".
// port: the port open, or null.
std::string WindowTitle(const std::string& caption, const PortEntry* port, bool connected,
                        const TextSource& texts);

}  // namespace zephran
