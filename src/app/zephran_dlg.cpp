#include "app/zephran_dlg.h"

#include <cstdio>

#include "app/built_in_menu_texts.h"
#include "app/language_dlg.h"
#include "app/menu_bar.h"
#include "app/page_factory.h"
#include "app/status_tips.h"
#include "app/unwritten_edits.h"
#include "link/message_catalogue.h"
#include "link/messages.h"
#include "pages/framework/products.h"

namespace zephran {
namespace {

ui::WindowTemplate MainTemplate() {
    ui::WindowTemplate t;
    t.title = "ZephranFPV";
    t.controls = {ui::Control{
        .id = kIdBoardText, .kind = ui::ControlKind::Edit, .readOnly = true, .multiline = true}};
    t.layout = ui::Column({ui::Item(kIdBoardText)});
    return t;
}

}  // namespace

CZephranDlg::CZephranDlg(ui::HostServices& host, const Clock& clock, AppPaths paths,
                         PortDirectoryOptions ports, std::unique_ptr<SerialLink> link)
    : host_(host),
      clock_(clock),
      paths_(std::move(paths)),
      settings_(paths_.configFile),
      languageSetting_(paths_.profileFile),
      main_(host, MainTemplate()),
      log_(trafficList_, lang_),
      sender_(*this, log_, lang_),
      receiver_(*this),
      dispatcher_(*this, log_, records_),
      link_(link ? std::move(link)
                 : std::make_unique<DeviceSerialLink>(std::move(ports),
                                                      static_cast<SerialPortOwner&>(*this))),
      connection_(
          {settings_, lang_, host_, timers_, clock_, *link_, sender_, log_, dispatcher_,
           [this](int code, const std::string& text, int value) { SetStatus(code, text, value); },
           [this](const std::string& text) { main_.SetDlgItemText(kIdBoardText, text); }}),
      update_(
          {lang_, host_, log_,
           [this](std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                  const std::uint8_t* payload) {
               SendFrame(group, msgId, length, payload);
               return CheckConnected();
           },
           [this](int code, const std::string& text, int value) { SetStatus(code, text, value); },
           [this](std::uint8_t group, std::uint8_t msgId) {
               connection_.RemovePending(group, msgId);
           },
           clock_}),
      recorder_({host_, clock_, paths_.logDir, records_}),
      replayReceiver_(dispatcher_),
      views_({host_, timers_, clock_, records_.ahrsLive, kTimerViews, views::kTimerScope}),
      parameters_({pages_, settings_, connection_, records_, host_, lang_, clock_,
                   [this](int percent) { SetStatus(kStatusProgress, {}, percent); }}) {
    tree_.onSelectionChanged = [this] { OnTreeSelection(); };
    // Shared records derived from telemetry are current before anything else sees a reply.
    gpsInsTelemetry_.RouteFirst(dispatcher_);
    connection_.RegisterReplies(dispatcher_);
    update_.RegisterReplies(dispatcher_);
    recorder_.RegisterReplies(dispatcher_);
    connection_.linkHeld = [this] { return update_.Active() || parameters_.Busy(); };
    connection_.onPortLost = [this](const std::string& why) {
        update_.PortLost(why);
        recorder_.PortLost();
        ForgetBoardValues();
    };
    connection_.onConnected = [this] { ForgetBoardValues(); };
    connection_.onTimedOut = [this](std::uint8_t group, std::uint8_t msgId,
                                    const std::string& message) {
        update_.RequestTimedOut(group, msgId, message);
    };
    dispatcher_.Route(msg::DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL,
                      [this](const ReceiveArea&) { connection_.magCalibrating = false; });
}

CZephranDlg::~CZephranDlg() {
    tree_.onSelectionChanged = nullptr;
    link_->Close();
}

std::string CZephranDlg::Counter(const char* key, long long value) const {
    return lang_.LangText("Panel", key) + " " + std::to_string(value);
}

void CZephranDlg::OnInitDialog() {
    main_.SetWindowText("ZephranFPV V3.5");
    const std::size_t portsFound = connection_.ProbePorts();
    BuildMenuBar();
    LoadStartupLanguage();
    BuildPageTree();

    SetStatus(kStatusReceive, Counter("RX", 0), 0);
    SetStatus(kStatusTransmit, Counter("TX", 0), 0);
    SetStatus(kStatusBaud, settings_.ReadText("PCSetting", "bps"), 0);
    ApplyStatusTips(statusBar_, lang_);
    const bool autoScan = settings_.ReadText("PCSetting", "PortScanMode") == "Auto";
    if (autoScan) {
        SetStatus(kStatusMain, lang_.LangText("Panel", "Try Hardware Concect"), 0);
    } else {
        SetStatus(kStatusMain, lang_.LangText("Panel", "ManualConnectMode"), 0);
        host_.MessageBox(lang_.LangText("Panel", "MunualConnectProm"));
    }

    for (const PageIdentity& identity : kPages) {
        pages_.push_back(CreatePage(
            *this, {update_, recorder_, replay_, &views_, clock_, paths_.logDir}, identity));
        pages_.back()->RegisterReplies(dispatcher_);
        pages_.back()->InitDialog();
        pages_.back()->ApplyTexts();
    }
    gpsInsTelemetry_.RouteLast(dispatcher_);
    // After the pages: their sets are current when a transfer takes them.
    parameters_.RegisterReplies(dispatcher_);
    // After the pages: their handlers fill the live record that the views then show.
    views_.RegisterReplies(dispatcher_);
    ShowProductPage();

    const std::int64_t now = clock_.SteadyMs();
    timers_.SetTimer(kTimerPending, 10, now);
    if (autoScan) {
        if (portsFound > 0) {
            timers_.SetTimer(kTimerScan, 1000, now);
        } else {
            host_.MessageBox("No UartPort Dectect");
        }
    }
}

void CZephranDlg::LoadStartupLanguage() {
    std::string language = languageSetting_.Read();
    if (language.empty()) {
        host_.MessageBox("Err,No Language Setting ,defaut set to english");
        languageSetting_.Write("english");
        language = "english";
    }
    if (LoadLanguageFile(paths_.languageDir + "/" + language + ".ini")) {
        BuildMenuBar();
    } else {
        languageSetting_.Write("");
    }
}

bool CZephranDlg::LoadLanguageFile(const std::string& path) {
    lang_.SetPath(path);
    if (lang_.Load()) {
        if (const auto warning = languageCheck_.Check(path)) host_.MessageBox(*warning);
        return true;
    }
    host_.MessageBox(lang_.LangText("MessagBox", "Unable to locate ini file") + " " + path);
    return false;
}

// Until language files give the program most of its texts, the bar keeps its own captions.
void CZephranDlg::BuildMenuBar() {
    const TextSource& texts = AnswersVocabulary(lang_) ? lang_ : BuiltInMenuTexts();
    menuBar_.Set(zephran::BuildMenuBar(settings_, texts, connection_.Ports()));
}

void CZephranDlg::BuildPageTree() {
    if (languageSetting_.Read().empty()) return;
    tree_.DeleteAllItems();
    const auto insert = [this](const TreeNodeSpec& node) {
        const auto top =
            tree_.InsertItem(lang_.LangText("Tree", node.key), 0, std::string(node.key));
        for (std::string_view child : node.children) {
            tree_.InsertItem(lang_.LangText("Tree", child), top, std::string(child));
        }
        tree_.Expand(top);
    };
    if (const ProductSpec* product = FindProduct(settings_.ReadText("ProductSetting", "Product"))) {
        for (const TreeNodeSpec& node : product->nodes)
            insert(node);
    }
    insert(UpdateNode());
}

Page* CZephranDlg::FindPage(std::string_view treeKey) const {
    for (const auto& page : pages_) {
        if (page->Id().treeKey == treeKey) return page.get();
    }
    return nullptr;
}

void CZephranDlg::ShowPage(Page* page, std::optional<int> liveCode) {
    shown_ = page;
    if (liveCode) activePageCode_ = *liveCode;
    pageChanged.Emit();
    if (page) page->OnShown();
}

void CZephranDlg::ShowProductPage() {
    const ProductSpec* product = FindProduct(settings_.ReadText("ProductSetting", "Product"));
    if (!product) {
        ShowPage(nullptr, std::nullopt);
        return;
    }
    for (const auto& page : pages_) {
        if (page->Id().className == product->defaultPageClass) {
            ShowPage(page.get(), product->setsPageCode ? std::optional<int>(page->Id().liveCode)
                                                       : std::nullopt);
            return;
        }
    }
}

void CZephranDlg::OnTreeSelection() {
    const auto item = tree_.GetSelectedItem();
    if (!item) return;
    const std::string text = tree_.GetItemText(item);
    for (std::string_view key : kTreeMatchOrder) {
        if (lang_.LangText("Tree", key) != text) continue;
        Page* page = FindPage(key);
        ShowPage(page, page->Id().liveCode);
        return;
    }
}

void CZephranDlg::ApplyLanguageRefresh() {
    BuildPageTree();
    log_.Clear();
    for (std::string_view className : kTextRefreshOrder) {
        for (const auto& page : pages_) {
            if (page->Id().className == className) page->ApplyTexts();
        }
    }
    // The pages without texts of their own still carry their tree text as heading.
    for (const auto& page : pages_) {
        if (page->Id().section.empty()) page->ApplyTexts();
    }
    SetStatus(kStatusMain, lang_.LangText("Panel", "Change Language"), 0);
    SetStatus(kStatusReceive, Counter("RX", dispatcher_.ReceiveCount()), 0);
    SetStatus(kStatusTransmit, Counter("TX", sender_.TransmitCount()), 0);
    ApplyStatusTips(statusBar_, lang_);
    BuildMenuBar();
    textsChanged.Emit();
}

void CZephranDlg::SetStatus(int code, const std::string& text, int value) {
    // The pane of each text code: main, port, RX, TX, (progress), baud.
    static constexpr std::array<int, 6> kPaneOf{0, 1, 3, 4, -1, 2};
    if (code == kStatusProgress) {
        statusBar_.SetProgress(value);
    } else if (code >= 0 && code < static_cast<int>(kPaneOf.size())) {
        statusBar_.SetPaneText(kPaneOf[static_cast<std::size_t>(code)], text);
    }
}

void CZephranDlg::SetStatusText(int pane, const std::string& text) {
    statusBar_.SetPaneText(pane, text);
}

// The rate display pauses while the board runs its three-axis compass calibration: from its
// start request until its cancel request or the board's completion.
bool CZephranDlg::SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                            const std::uint8_t* payload) {
    if (msg::DL_MINIAHRS_MAG_3AXIS_START_CAL.Is(group, msgId)) connection_.magCalibrating = true;
    if (msg::DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL.Is(group, msgId)) connection_.magCalibrating = false;
    return sender_.SendFrame(group, msgId, length, payload);
}

bool CZephranDlg::CheckConnected() {
    return sender_.CheckConnected();
}

void CZephranDlg::AddPendingRequest(std::uint8_t group, std::uint8_t msgId,
                                    std::size_t frameBytes) {
    connection_.AddPending(group, msgId, frameBytes);
}

bool CZephranDlg::WriteToPort(const std::uint8_t* bytes, std::size_t count) {
    return connection_.PortOpen() && link_->Write(bytes, count);
}

// While a recording plays, it alone drives the live views and rates: the board's own live data
// would interleave with it. Every other reply of the board goes through.
int CZephranDlg::DispatchFrame(const ReceiveArea& frame) {
    const Message* message = FindMessage(frame.group, frame.msgId);
    if (replay_.Playing() && message && message->live != LiveStream::kNone) return 0;
    return dispatcher_.DispatchFrame(frame);
}

void CZephranDlg::ReceiveCounted(std::int32_t count) {
    SetStatus(kStatusReceive, Counter("RX", count), 0);
}

void CZephranDlg::RemovePending(std::uint8_t group, std::uint8_t msgId) {
    connection_.RemovePending(group, msgId);
}

void CZephranDlg::SetWakeUpHandler(std::function<void()> wakeUp) {
    std::lock_guard lock(wakeMutex_);
    wakeUp_ = std::move(wakeUp);
}

void CZephranDlg::WakeUp() {
    std::lock_guard lock(wakeMutex_);
    if (wakeUp_) wakeUp_();
}

void CZephranDlg::ProcessPortEvents() {
    connection_.HandlePortEvents([this](const std::uint8_t* bytes, std::size_t count) {
        receiver_.ParseBytes(bytes, count);
    });
}

void CZephranDlg::RunDueTimers() {
    timers_.RunDue(clock_.SteadyMs(), [this](int id) { OnTimer(id); });
}

void CZephranDlg::OnTimer(int id) {
    switch (id) {
        case kTimerPending:
            update_.OnTimerTick();
            replay_.Tick(clock_.SteadyMs(), [this](std::span<const std::uint8_t> frame) {
                for (const std::uint8_t b : frame)
                    replayReceiver_.FrameParser(b);
            });
            connection_.OnPendingTimer();
            parameters_.OnTimerTick();
            recorder_.OnTimerTick();
            break;
        case kTimerScan:
            connection_.OnScanTimer();
            break;
        case kTimerViews:
        case views::kTimerScope:
            views_.OnTimer(id);
            break;
        default:
            break;
    }
}

void CZephranDlg::ProductCommand(std::string_view product) {
    if (!update_.AskToStop(FirmwareUpdate::Then::ChangeProduct)) return;
    settings_.Write("ProductSetting", "Product", product);
    connection_.ProductChanged();
    if (product != "AHRS") {
        settings_.Write("PCSetting", "bps", "115200");
        settings_.Write("PCSetting", "PortScanMode", "Auto");
    }
    ForgetBoardValues();
    ApplyLanguageRefresh();
    BuildPageTree();
    ShowProductPage();
}

void CZephranDlg::ForgetBoardValues() {
    for (const auto& page : pages_)
        page->BoardChanged();
}

// The edits are asked about first: a No there leaves everything as it was.
bool CZephranDlg::MayQuit() {
    return MayQuitWithUnwrittenEdits(pages_, host_, lang_) &&
           update_.AskToStop(FirmwareUpdate::Then::Quit);
}

void CZephranDlg::PcBaudCommand(std::size_t index) {
    settings_.Write("PCSetting", "bps", std::to_string(kBaudRates[index]));
    std::string bps = settings_.ReadText("PCSetting", "bps");
    if (bps.empty()) bps = "115200";
    SetStatus(kStatusBaud, bps, 0);
    if (settings_.ReadText("PCSetting", "PortScanMode") == "Auto") {
        StartScan();
    } else {
        OpenConfiguredPort();
    }
    ApplyLanguageRefresh();
}

void CZephranDlg::BoardOptionCommand(unsigned command) {
    for (const BoardOptionMenu& options : BoardOptionMenus()) {
        for (std::size_t i = 0; i < options.commands.size(); ++i) {
            if (options.commands[i] != command) continue;
            if (options.group == kLinkControlGroup) {
                settings_.Write("AHRSSetting", "bps", std::to_string(kBaudRates[i]));
            }
            const auto code = static_cast<std::uint8_t>(i);
            SendFrame(options.group, options.msgId, 1, &code);
            CheckConnected();
            return;
        }
    }
}

void CZephranDlg::OnCommand(unsigned command) {
    for (const auto& item : kProductCommands) {
        if (item.command == command) return ProductCommand(item.product);
    }
    if (command >= kCmdPcBaudBase && command < kCmdPcBaudBase + kBaudRates.size()) {
        return PcBaudCommand(command - kCmdPcBaudBase);
    }
    if (command > kCmdPortBase && command <= kCmdPortBase + 128) {
        settings_.Write("PCSetting", "Com", std::to_string(command - kCmdPortBase));
        OpenConfiguredPort();
        ApplyLanguageRefresh();
        return;
    }
    switch (command) {
        case kCmdAutoScan:
            StartScan();
            settings_.Write("PCSetting", "PortScanMode", "Auto");
            ApplyLanguageRefresh();
            return;
        case kCmdManualPort:
            OpenConfiguredPort();
            settings_.Write("PCSetting", "PortScanMode", "Manual");
            ApplyLanguageRefresh();
            return;
        case kCmdLanguage: {
            CLanguageDlg dialog(
                host_, lang_, languageSetting_, paths_.languageDir,
                [this](const std::string& chosen) {
                    languageSetting_.Write(chosen);
                    const std::string language = languageSetting_.Read();
                    if (!language.empty() &&
                        !LoadLanguageFile(paths_.languageDir + "/" + language + ".ini")) {
                        languageSetting_.Write("");
                    }
                    ApplyLanguageRefresh();
                });
            host_.RunModal(dialog);
            return;
        }
        case kCmdHelp:
            host_.OpenUrl(kMakerWebPage);
            return;
        default:
            BoardOptionCommand(command);
    }
}

}  // namespace zephran
