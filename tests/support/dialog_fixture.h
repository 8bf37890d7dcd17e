#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "support/environment.h"
#include "support/fake_host.h"
#include "support/fake_link.h"
#include "support/temp_dir.h"

namespace zephran::testing {

// The main dialog on a virtual clock with serial devices in memory and the shipped English
// texts; Config.ini starts as the test writes it.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironment(kUserConfigVariable, dir.File("config"));
        dir.Write("config/ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");
    }
    void TearDown() override {
        dialog.reset();
        UnsetEnvironment(kUserConfigVariable);
    }

    void WriteConfig(const std::string& text) { dir.Write("app/Config.ini", text); }

    void Start() {
        auto owned = std::make_unique<FakeLink>(devices);
        link = owned.get();
        CZephranApp app(ResolveAppPaths(dir.File("app")));
        app.PrepareSettings();
        dialog = std::make_unique<CZephranDlg>(host, clock, app.Paths(), PortDirectoryOptions{},
                                               std::move(owned));
        dialog->OnInitDialog();
    }

    // Lets ms pass: every timer tick in order, with the port's events handled before each.
    void Advance(std::int64_t ms) {
        const std::int64_t target = clock.SteadyMs() + ms;
        for (auto next = dialog->NextTimerDue(); next && *next <= target;
             next = dialog->NextTimerDue()) {
            clock.AdvanceTo(*next);
            dialog->ProcessPortEvents();
            dialog->RunDueTimers();
        }
        clock.AdvanceTo(target);
        dialog->ProcessPortEvents();
    }

    void Receive(std::uint8_t group, std::uint8_t msgId, const FakeLink::Bytes& payload = {}) {
        link->Receive(FakeLink::Frame(group, msgId, payload));
        dialog->ProcessPortEvents();
    }

    std::string Text(const char* section, const char* key) const {
        return dialog->Texts().LangText(section, key);
    }
    std::string Pane(int pane) const { return dialog->StatusBar().PaneText(pane); }
    const std::vector<std::string>& Log() const { return dialog->TrafficList().Lines(); }

    // Devices given to the link at Start.
    FakeDevices devices;
    TempDir dir;
    FakeHost host;
    VirtualClock clock;
    FakeLink* link = nullptr;
    std::unique_ptr<CZephranDlg> dialog;
};

}  // namespace zephran::testing
