#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/main_menu.h"
#include "app/page_set.h"
#include "app/program_language.h"
#include "link/serial_link.h"
#include "link/traffic_log.h"
#include "pages/autopilot/gpsins_telemetry.h"
#include "pages/framework/page_host.h"
#include "params/parameter_files.h"
#include "platform/app_paths.h"
#include "platform/clock.h"
#include "recording/live_recorder.h"
#include "recording/replay_link.h"
#include "records/record_store.h"
#include "session/connection_manager.h"
#include "session/link_session.h"
#include "session/settings_file.h"
#include "ui/list_box.h"
#include "ui/menu.h"
#include "ui/status_bar.h"
#include "ui/timers.h"
#include "ui/tree.h"
#include "ui/window.h"
#include "update/firmware_update.h"
#include "views/live_views.h"

namespace zephran {

// Controls of the main window.
inline constexpr int kIdPageTree = 1001;
inline constexpr int kIdTrafficLog = 1012;
inline constexpr int kIdBoardText = 1013;

// The main window: it owns the link session, the language, the pages and the models that the
// front end draws (tree, traffic log, board text, status bar, menu bar).
class CZephranDlg : public PageHost {
public:
    // link: the ports to use; null for the real devices of the port directory.
    CZephranDlg(ui::HostServices& host, const Clock& clock, AppPaths paths,
                PortDirectoryOptions ports, std::unique_ptr<SerialLink> link = nullptr);
    ~CZephranDlg() override;

    // Runs once before the window is shown.
    void OnInitDialog();

    // Front end: wakeUp is called on a transport's thread when its events wait; the front end
    // then calls ProcessPortEvents on the user-interface thread.
    void SetWakeUpHandler(std::function<void()> wakeUp) {
        session_.SetWakeUpHandler(std::move(wakeUp));
    }
    void ProcessPortEvents() { session_.ProcessPortEvents(); }
    // Runs the timer ticks due now; NextTimerDue tells when to call again.
    void RunDueTimers();
    std::optional<std::int64_t> NextTimerDue() const { return timers_.NextDue(); }
    // A menu command.
    void OnCommand(unsigned command) { menu_.OnCommand(command); }

    // The models drawn by the front end.
    ui::Window& MainWindow() { return main_; }
    ui::TreeModel& Tree() { return tree_; }
    ui::ListBoxModel& TrafficList() { return trafficList_; }
    ui::StatusBarModel& StatusBar() { return statusBar_; }
    ui::MenuBarModel& MenuBar() { return menuBar_; }
    PageSet& Pages() { return pages_; }
    const PageSet& Pages() const { return pages_; }
    // The window's title: its caption, the port open and whether the board answered.
    std::string Title();
    // Told when a language change has refreshed the texts.
    ui::ChangeSignal textsChanged;

    // Every window takes its texts again.
    void ApplyLanguageRefresh();
    // Whether the program may end now; asks the user where something would be lost (edits not
    // written to the board, a running firmware update, which Yes stops).
    bool MayQuit();

    LinkSession& Session() { return session_; }
    ConnectionManager& Connection() { return connection_; }
    const AppPaths& Paths() const { return paths_; }
    ProgramLanguage& Language() { return language_; }
    const SettingsFile& Settings() const { return settings_; }
    FirmwareUpdate& Update() { return update_; }
    LiveRecorder& Recorder() { return recorder_; }
    ParameterFiles& Parameters() { return parameters_; }
    ReplayLink& Replay() { return replay_; }
    views::LiveViews* Views() { return &views_; }

    // PageHost
    bool SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                   const std::uint8_t* payload) override {
        return session_.SendFrame(group, msgId, length, payload);
    }
    bool CheckConnected() override { return session_.CheckConnected(); }
    void SetStatus(int code, const std::string& text, int value) override;
    const TextSource& Texts() const override { return language_.Store(); }
    bool LanguageChosen() const override { return language_.Chosen(); }
    ui::HostServices& Host() const override { return host_; }
    RecordStore& Records() override { return records_; }
    bool IsShown(const Page& page) const override { return pages_.Shown() == &page; }

private:
    void OnTimer(int id);
    // Another board, or none: no page shows values from before as this board's.
    void ForgetBoardValues() { pages_.BoardChanged(); }

    ui::HostServices& host_;
    const Clock& clock_;
    AppPaths paths_;
    SettingsFile settings_;
    ProgramLanguage language_;
    ui::Window main_;
    ui::TreeModel tree_;
    ui::ListBoxModel trafficList_;
    ui::StatusBarModel statusBar_;
    ui::MenuBarModel menuBar_;
    ui::TimerTable timers_;
    TrafficLog log_;
    RecordStore records_;
    // A played-back recording, parsed apart from the port's bytes.
    ReplayLink replay_;
    LinkSession session_;
    ConnectionManager connection_;
    FirmwareUpdate update_;
    // Outlives the pages; closing it on destruction keeps every record received.
    LiveRecorder recorder_;
    GpsInsTelemetry gpsInsTelemetry_{records_};
    views::LiveViews views_;
    PageSet pages_;
    ParameterFiles parameters_;
    MainMenu menu_;
};

}  // namespace zephran
