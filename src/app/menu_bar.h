#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "link/port_directory.h"
#include "link/text_source.h"
#include "session/product_commands.h"
#include "session/settings_file.h"
#include "ui/menu.h"

namespace zephran {

// Menu command numbers.
inline constexpr unsigned kCmdLanguage = 131;
inline constexpr unsigned kCmdAutoScan = 1239;
inline constexpr unsigned kCmdManualPort = 1240;
inline constexpr unsigned kCmdPortBase = 1452;  // + port number 1..128
inline constexpr unsigned kCmdPortByHand = 1700;
inline constexpr unsigned kCmdHelp = 57664;

// The thirteen baud rates of the link, in menu order; the board's rate codes are the indexes.
inline constexpr std::array<unsigned, 13> kBaudRates{
    1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};
inline constexpr unsigned kCmdPcBaudBase = 1198;  // + index, text key "2001" + index

// One board option submenu: a request of one byte, the item's code.
struct BoardOptionMenu {
    std::string_view key;  // "1000" … "9000"
    std::uint8_t group;
    std::uint8_t msgId;
    std::vector<unsigned> commands;  // item i sends code i, text key key + 1 + i
};
const std::vector<BoardOptionMenu>& BoardOptionMenus();

// The whole menu bar as the settings and texts say now.
ui::Menu BuildMenuBar(const SettingsFile& settings, const TextSource& texts,
                      const std::vector<PortEntry>& ports);

}  // namespace zephran
