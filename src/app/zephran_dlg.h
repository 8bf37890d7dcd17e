#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/language_coverage.h"
#include "dispatch/reply_dispatcher.h"
#include "lang/lang_ini.h"
#include "lang/language_setting.h"
#include "link/frame_receiver.h"
#include "link/frame_sender.h"
#include "link/serial_link.h"
#include "link/traffic_log.h"
#include "pages/autopilot/gpsins_telemetry.h"
#include "pages/framework/page.h"
#include "pages/framework/page_host.h"
#include "params/parameter_files.h"
#include "platform/app_paths.h"
#include "platform/clock.h"
#include "recording/live_recorder.h"
#include "recording/replay_link.h"
#include "records/record_store.h"
#include "session/connection_manager.h"
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

inline constexpr const char* kMakerWebPage = "https://www.zephranfpv.com/";

// The main window: it owns the link, the language store, the pages and the models that the
// front end draws (tree, traffic log, board text, status bar, menu bar).
class CZephranDlg : public PageHost,
                    private FrameSenderHost,
                    private FrameDispatcher,
                    private ReplyDispatcher::Bookkeeping,
                    private SerialPortOwner {
public:
    // link: the serial port to use; null for the real devices of the port directory.
    CZephranDlg(ui::HostServices& host, const Clock& clock, AppPaths paths,
                PortDirectoryOptions ports, std::unique_ptr<SerialLink> link = nullptr);
    ~CZephranDlg() override;

    // Runs once before the window is shown.
    void OnInitDialog();

    // Front end: wakeUp is called on the monitor thread when bytes or port events wait; the
    // front end then calls ProcessPortEvents on the user-interface thread.
    void SetWakeUpHandler(std::function<void()> wakeUp);
    void ProcessPortEvents();
    // Runs the timer ticks due now; NextTimerDue tells when to call again.
    void RunDueTimers();
    std::optional<std::int64_t> NextTimerDue() const { return timers_.NextDue(); }
    // A menu command.
    void OnCommand(unsigned command);

    // The models drawn by the front end.
    ui::Window& MainWindow() { return main_; }
    ui::TreeModel& Tree() { return tree_; }
    ui::ListBoxModel& TrafficList() { return trafficList_; }
    ui::StatusBarModel& StatusBar() { return statusBar_; }
    ui::MenuBarModel& MenuBar() { return menuBar_; }
    Page* ShownPage() const { return shown_; }
    Page* FindPage(std::string_view treeKey) const;
    const std::vector<std::unique_ptr<Page>>& Pages() const { return pages_; }
    // Told whenever another page is shown.
    ui::ChangeSignal pageChanged;
    // Told when a language change has refreshed the texts.
    ui::ChangeSignal textsChanged;

    // Named entry points of the main dialog.
    void BuildPageTree();
    void ShowProductPage();
    void BuildMenuBar();
    void ApplyLanguageRefresh();
    bool LoadLanguageFile(const std::string& path);
    // Whether the program may end now; asks the user where something would be lost (edits not
    // written to the board, a running firmware update, which Yes stops).
    bool MayQuit();
    void StartScan() { connection_.StartScan(); }
    void OpenConfiguredPort() { connection_.OpenConfiguredPort(); }

    ConnectionManager& Connection() { return connection_; }
    const ReplyDispatcher& Dispatcher() const { return dispatcher_; }
    const AppPaths& Paths() const { return paths_; }
    const LanguageSetting& Language() const { return languageSetting_; }
    CLangIni& LanguageStore() { return lang_; }
    std::uint32_t TransmitCount() const { return sender_.TransmitCount(); }

    // PageHost
    bool SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                   const std::uint8_t* payload) override;
    bool CheckConnected() override;
    void SetStatus(int code, const std::string& text, int value) override;
    const TextSource& Texts() const override { return lang_; }
    bool LanguageChosen() const override { return !languageSetting_.Read().empty(); }
    ui::HostServices& Host() const override { return host_; }
    RecordStore& Records() override { return records_; }
    FirmwareUpdate& Update() { return update_; }
    LiveRecorder& Recorder() { return recorder_; }
    ParameterFiles& Parameters() { return parameters_; }
    ReplayLink& Replay() { return replay_; }
    bool IsShown(const Page& page) const override { return shown_ == &page; }
    views::LiveViews* Views() { return &views_; }

    const SettingsFile& Settings() const { return settings_; }
    // Which live page the page area shows, as the page switch sets it.
    int ActivePageCode() const { return activePageCode_; }

private:
    // FrameSenderHost
    bool IsConnected() const override { return connection_.Connected(); }
    void AddPendingRequest(std::uint8_t group, std::uint8_t msgId, std::size_t frameBytes) override;
    std::size_t WriteLimit() const override { return SerialLink::kWriteBufferSize; }
    bool WriteToPort(const std::uint8_t* bytes, std::size_t count) override;
    void ShowMessage(const std::string& text) override { host_.MessageBox(text); }
    void SetStatusText(int pane, const std::string& text) override;
    // FrameDispatcher
    int DispatchFrame(const ReceiveArea& frame) override;
    // ReplyDispatcher::Bookkeeping
    void ReceiveCounted(std::int32_t count) override;
    void RemovePending(std::uint8_t group, std::uint8_t msgId) override;
    // SerialPortOwner
    void WakeUp() override;

    void OnTimer(int id);
    void OnTreeSelection();
    void ShowPage(Page* page, std::optional<int> liveCode);
    void LoadStartupLanguage();
    void ProductCommand(std::string_view product);
    void PcBaudCommand(std::size_t index);
    void BoardOptionCommand(unsigned command);
    // Another board, or none: no page shows values from before as this board's.
    void ForgetBoardValues();
    std::string Counter(const char* key, long long value) const;

    ui::HostServices& host_;
    const Clock& clock_;
    AppPaths paths_;
    SettingsFile settings_;
    LanguageSetting languageSetting_;
    CLangIni lang_;
    LanguageCoverageCheck languageCheck_;
    ui::Window main_;
    ui::TreeModel tree_;
    ui::ListBoxModel trafficList_;
    ui::StatusBarModel statusBar_;
    ui::MenuBarModel menuBar_;
    ui::TimerTable timers_;
    TrafficLog log_;
    FrameSender sender_;
    FrameReceiver receiver_;
    ReplyDispatcher dispatcher_;
    std::unique_ptr<SerialLink> link_;
    ConnectionManager connection_;
    FirmwareUpdate update_;
    // Outlives the pages; closing it on destruction keeps every record received.
    LiveRecorder recorder_;
    // A played-back recording, parsed apart from the port's bytes.
    ReplayLink replay_;
    FrameReceiver replayReceiver_;
    RecordStore records_;
    GpsInsTelemetry gpsInsTelemetry_{records_};
    views::LiveViews views_;
    std::vector<std::unique_ptr<Page>> pages_;
    ParameterFiles parameters_;
    Page* shown_ = nullptr;
    int activePageCode_ = kPageNotLive;

    std::mutex wakeMutex_;
    std::function<void()> wakeUp_;
};

}  // namespace zephran
