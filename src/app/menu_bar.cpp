#include "app/menu_bar.h"

#include <string>

#include "link/network_transport_factory.h"

namespace zephran {
namespace {

std::string KeyPlus(std::string_view key, unsigned offset) {
    return std::to_string(std::stoi(std::string(key)) + static_cast<int>(offset));
}

}  // namespace

const std::vector<BoardOptionMenu>& BoardOptionMenus() {
    static const std::vector<BoardOptionMenu> menus{
        {"1000",
         12,
         2,
         {1176, 1177, 1178, 1179, 1180, 1181, 1182, 1183, 1184, 1185, 1186, 1187, 1188}},
        {"2000", 15, 21, {1211, 1212, 1213, 1214, 1215, 1216}},
        {"3000", 15, 20, {1217, 1218}},
        {"4000", 15, 36, {1226, 1227, 1228, 1242}},
        {"5000", 15, 37, {1229, 1230, 1241, 1396}},
        {"6000", 15, 35, {1231, 1232, 1233, 1234, 1235, 1236, 1237, 1238}},
        {"7000", 15, 69, {1246, 1247, 1248}},
        {"8000", 15, 70, {1249, 1250, 1251}},
        {"9000", 15, 71, {1252, 1253, 1254, 1255, 1256, 1257, 1258}},
    };
    return menus;
}

ui::Menu BuildMenuBar(const SettingsFile& settings, const TextSource& texts,
                      const std::vector<PortEntry>& ports) {
    ui::Menu bar;
    const std::string product = settings.ReadText("ProductSetting", "Product");

    ui::Menu& products = bar.AppendPopup(texts.LangText("Product Menu", "1000"));
    const bool knownProduct = [&] {
        for (const auto& item : kProductCommands) {
            if (item.product == product) return true;
        }
        return false;
    }();
    if (knownProduct) {
        for (const auto& item : kProductCommands) {
            products.AppendItem(texts.LangText("Product Menu", item.textKey), item.command,
                                item.product == product);
        }
    }

    ui::Menu& language = bar.AppendPopup(texts.LangText("Lang Menu", "1000"));
    language.AppendItem(texts.LangText("Lang Menu", "1001"), kCmdLanguage);

    ui::Menu& pc = bar.AppendPopup(texts.LangText("PC Configure", "0000"));
    const bool autoScan = settings.ReadText("PCSetting", "PortScanMode") == "Auto";
    pc.AppendItem(texts.LangText("PC Configure", "3000"), kCmdAutoScan, autoScan);
    pc.AppendItem(texts.LangText("PC Configure", "4000"), kCmdManualPort, !autoScan);
    ui::Menu& portMenu = pc.AppendPopup(texts.LangText("PC Configure", "1000"), autoScan);
    for (const PortEntry& port : ports)
        portMenu.AppendItem(port.Label(), kCmdPortBase + port.number);
    ui::Menu& baudMenu = pc.AppendPopup(texts.LangText("PC Configure", "2000"));
    const std::string bps = settings.ReadText("PCSetting", "bps");
    bool ticked = false;
    for (unsigned rate : kBaudRates)
        ticked = ticked || std::to_string(rate) == bps;
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        const std::string rate = std::to_string(kBaudRates[i]);
        baudMenu.AppendItem(
            texts.LangText("PC Configure", KeyPlus("2001", static_cast<unsigned>(i))),
            kCmdPcBaudBase + static_cast<unsigned>(i),
            ticked ? rate == bps : kBaudRates[i] == 115200);
    }
    // Last, so the items above keep their places.
    pc.AppendItem(
        NetworkTransportsAvailable()
            ? AddedText(texts, "PC Configure", "Port By Hand", "Port or Network Address...")
            : AddedText(texts, "PC Configure", "Port By Hand Device", "Port..."),
        kCmdPortByHand);

    if (product == "AHRS") {
        ui::Menu& board = bar.AppendPopup(texts.LangText("Ahrs Configure", "0000"));
        for (const BoardOptionMenu& options : BoardOptionMenus()) {
            ui::Menu& sub = board.AppendPopup(texts.LangText("Ahrs Configure", options.key));
            for (std::size_t i = 0; i < options.commands.size(); ++i) {
                sub.AppendItem(texts.LangText("Ahrs Configure",
                                              KeyPlus(options.key, static_cast<unsigned>(i + 1))),
                               options.commands[i]);
            }
        }
    }

    ui::Menu& help = bar.AppendPopup(texts.LangText("Help Menu", "1000"));
    help.AppendItem(texts.LangText("Help Menu", "1001"), kCmdHelp);
    return bar;
}

}  // namespace zephran
