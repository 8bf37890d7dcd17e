// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_menu.h"

#include "app/built_in_menu_texts.h"
#include "app/menu_bar.h"
#include "link/network_transport_factory.h"
#include "link/port_address.h"
#include "session/product_commands.h"
#include "session/status_codes.h"

namespace zephran {

void MainMenu::Build() {
    const TextSource& texts = AnswersVocabulary(s_.language.Store())
                                  ? static_cast<const TextSource&>(s_.language.Store())
                                  : BuiltInMenuTexts();
    s_.bar.Set(BuildMenuBar(s_.settings, texts, s_.connection.Ports()));
}

void MainMenu::OnCommand(unsigned command) {
    for (const auto& item : kProductCommands) {
        if (item.command == command) return ProductCommand(item.product);
    }
    if (command >= kCmdPcBaudBase && command < kCmdPcBaudBase + kBaudRates.size()) {
        return PcBaudCommand(command - kCmdPcBaudBase);
    }
    if (command > kCmdPortBase && command <= kCmdPortBase + 128) {
        s_.settings.Write("PCSetting", "Com", std::to_string(command - kCmdPortBase));
        s_.connection.OpenConfiguredPort();
        s_.refreshTexts();
        return;
    }
    switch (command) {
        case kCmdAutoScan:
            s_.connection.StartScan();
            s_.settings.Write("PCSetting", "PortScanMode", "Auto");
            s_.refreshTexts();
            return;
        case kCmdManualPort:
            s_.connection.OpenConfiguredPort();
            s_.settings.Write("PCSetting", "PortScanMode", "Manual");
            s_.refreshTexts();
            return;
        case kCmdLanguage:
            s_.language.Choose(s_.refreshTexts);
            return;
        case kCmdPortByHand:
            PortByHand();
            return;
        case kCmdHelp:
            s_.host.OpenUrl(kMakerWebPage);
            return;
        default:
            BoardOptionCommand(command);
    }
}

// The user names a port: a device path or a network address. It joins the ports and opens in
// manual mode; a network address is offered again next time.
void MainMenu::PortByHand() {
    const TextSource& texts = s_.language.Store();
    const auto text = s_.host.AskText(
        NetworkTransportsAvailable()
            ? AddedText(texts, "PC Configure", "Port By Hand Prompt",
                        "A serial device, tcp://HOST:PORT or rfc2217://HOST:PORT:")
            : AddedText(texts, "PC Configure", "Port By Hand Device Prompt", "A serial device:"),
        s_.recentAddresses.List());
    if (!text) return;
    const ParsedPortAddress parsed = ParsePortAddress(*text);
    if (!parsed.Ok()) {
        s_.host.MessageBox(parsed.error);
        return;
    }
    if (!s_.connection.OpenByHand(parsed.address.Text())) {
        s_.host.MessageBox(
            AddedText(texts, "PC Configure", "No More Ports", "No more ports can be listed."));
        return;
    }
    if (parsed.address.IsNetwork()) s_.recentAddresses.Remember(*text);
    s_.refreshTexts();
}

void MainMenu::ProductCommand(std::string_view product) {
    if (!s_.update.AskToStop(FirmwareUpdate::Then::ChangeProduct)) return;
    s_.settings.Write("ProductSetting", "Product", product);
    s_.session.ProductChanged();
    if (product != "AHRS") {
        s_.settings.Write("PCSetting", "bps", "115200");
        s_.settings.Write("PCSetting", "PortScanMode", "Auto");
    }
    s_.productChanged();
}

void MainMenu::PcBaudCommand(std::size_t index) {
    s_.settings.Write("PCSetting", "bps", std::to_string(kBaudRates[index]));
    std::string bps = s_.settings.ReadText("PCSetting", "bps");
    if (bps.empty()) bps = "115200";
    s_.setStatus(kStatusBaud, bps, 0);
    if (s_.settings.ReadText("PCSetting", "PortScanMode") == "Auto") {
        s_.connection.StartScan();
    } else {
        s_.connection.OpenConfiguredPort();
    }
    s_.refreshTexts();
}

void MainMenu::BoardOptionCommand(unsigned command) {
    for (const BoardOptionMenu& options : BoardOptionMenus()) {
        for (std::size_t i = 0; i < options.commands.size(); ++i) {
            if (options.commands[i] != command) continue;
            if (options.group == kLinkControlGroup) {
                s_.settings.Write("AHRSSetting", "bps", std::to_string(kBaudRates[i]));
            }
            const auto code = static_cast<std::uint8_t>(i);
            s_.session.Send(options.group, options.msgId, 1, &code);
            return;
        }
    }
}

}  // namespace zephran
