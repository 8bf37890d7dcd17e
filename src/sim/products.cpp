#include "sim/products.h"

#include <algorithm>
#include <array>
#include <string>

#include "sim/aat_board.h"
#include "sim/ahrs_board.h"
#include "sim/autopilot_board.h"
#include "sim/gpsins_board.h"
#include "sim/link_control.h"
#include "sim/multicopter_board.h"
#include "sim/osd_board.h"

namespace zephran::sim {
namespace {

struct Product {
    std::string_view name;
    std::string_view description;
    // Adds what the product does beyond link control.
    void (*install)(Board&) = nullptr;
};

constexpr std::array<Product, 7> kProducts{{
    {"Vantrel", "ZephranFPV Vantrel OSD board, firmware 2.4", InstallVantrel},
    {"Standard", "ZephranFPV Standard OSD board, firmware 2.4", InstallAutopilot},
    {"AAT", "ZephranFPV antenna tracker, firmware 1.6", InstallAat},
    {"AHRS", "ZephranFPV AHRS board, firmware 3.5", InstallAhrs},
    {"GPSINS", "ZephranFPV GPS/INS board, firmware 2.2", InstallGpsIns},
    {"Multicopter", "ZephranFPV multicopter board, firmware 1.3", InstallMulticopter},
    {"Helicopter", "ZephranFPV helicopter board, firmware 1.1"},
}};

constexpr auto kNames = [] {
    std::array<std::string_view, kProducts.size()> names{};
    std::ranges::transform(kProducts, names.begin(), &Product::name);
    return names;
}();

}  // namespace

std::span<const std::string_view> ProductNames() {
    return kNames;
}

std::unique_ptr<Board> MakeBoard(std::string_view product, Clock::time_point start,
                                 std::shared_ptr<BootloaderControl> bootloader) {
    const auto found = std::ranges::find(kProducts, product, &Product::name);
    if (found == kProducts.end()) return nullptr;
    auto board =
        std::make_unique<Board>(std::string(found->name), std::string(found->description), start);
    InstallLinkControl(*board);
    InstallBootloader(*board,
                      bootloader ? std::move(bootloader) : std::make_shared<BootloaderControl>());
    if (found->install) found->install(*board);
    return board;
}

}  // namespace zephran::sim
