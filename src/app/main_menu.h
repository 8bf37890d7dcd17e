// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "app/program_language.h"
#include "session/connection_manager.h"
#include "session/link_session.h"
#include "session/recent_addresses.h"
#include "session/settings_file.h"
#include "ui/menu.h"
#include "update/firmware_update.h"

namespace zephran {

inline constexpr const char* kMakerWebPage = "https://www.zephranfpv.com/";

// The main window's menu bar, built from the settings, the ports and the texts, and what its
// commands do.
class MainMenu {
public:
    struct Services {
        SettingsFile& settings;
        ProgramLanguage& language;
        ui::HostServices& host;
        ui::MenuBarModel& bar;
        ConnectionManager& connection;
        LinkSession& session;
        FirmwareUpdate& update;
        // The network addresses offered when the user names a port.
        RecentAddresses recentAddresses;
        std::function<void(int code, const std::string& text, int value)> setStatus;
        // The settings or the texts changed: every window takes its texts again.
        std::function<void()> refreshTexts;
        // Another product was chosen: the pages forget the board and show the product's.
        std::function<void()> productChanged;
    };

    explicit MainMenu(Services services) : s_(std::move(services)) {}

    // Until language files give the program most of its texts, the bar keeps its own captions.
    void Build();
    void OnCommand(unsigned command);

private:
    void ProductCommand(std::string_view product);
    void PcBaudCommand(std::size_t index);
    void BoardOptionCommand(unsigned command);
    void PortByHand();

    Services s_;
};

}  // namespace zephran
