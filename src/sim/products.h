#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "sim/board.h"
#include "sim/bootloader.h"

namespace zephran::sim {

// The products a board can be, by the names the tool's Product menu uses, in its order.
std::span<const std::string_view> ProductNames();

// A board of the named product, with the link control and the bootloader every board has and
// whatever the product adds to it; nothing for an unknown name. bootloader: the bootloader's
// settings and report, when the caller wants them.
std::unique_ptr<Board> MakeBoard(std::string_view product, Clock::time_point start,
                                 std::shared_ptr<BootloaderControl> bootloader = nullptr);

}  // namespace zephran::sim
