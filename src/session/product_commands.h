// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace zephran {

// The product menu: a command, its caption key in [Product Menu] and the product it chooses.
struct ProductCommand {
    unsigned command;
    std::string_view textKey;
    std::string_view product;
};
inline constexpr std::array<ProductCommand, 7> kProductCommands{{
    {1220, "1001", "Vantrel"},
    {1221, "1002", "Standard"},
    {1222, "1003", "AAT"},
    {1223, "1004", "AHRS"},
    {1224, "1005", "GPSINS"},
    {1225, "1006", "Multicopter"},
    {1402, "1007", "Helicopter"},
}};

}  // namespace zephran
