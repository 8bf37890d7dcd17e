#include "app/zephran_dlg.h"

#include "app/status_tips.h"
#include "app/unwritten_edits.h"
#include "app/window_title.h"

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
      language_(host, paths_.languageDir, paths_.profileFile),
      main_(host, MainTemplate()),
      log_(trafficList_, language_.Store()),
      replay_(clock_),
      session_({settings_, language_.Store(), host_, statusBar_, log_, records_, replay_,
                [this] { return replay_.Playing(); },
                [this](const std::string& text) { main_.SetDlgItemText(kIdBoardText, text); }},
               std::move(ports), std::move(link)),
      connection_(
          {settings_, language_.Store(), host_, timers_, clock_, session_,
           [this](int code, const std::string& text, int value) { SetStatus(code, text, value); }}),
      update_(
          {language_.Store(), host_, log_,
           [this](std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                  const std::uint8_t* payload) {
               return session_.Send(group, msgId, length, payload);
           },
           [this](int code, const std::string& text, int value) { SetStatus(code, text, value); },
           [this](std::uint8_t group, std::uint8_t msgId) { session_.RemovePending(group, msgId); },
           clock_}),
      recorder_({host_, clock_, paths_.logDir, records_}),
      views_({host_, timers_, clock_, records_.ahrsLive, kTimerViews, views::kTimerScope}),
      pages_(tree_, settings_, language_.Store(), [this] { return language_.Chosen(); }),
      parameters_({pages_.All(), settings_, session_, records_, host_, language_.Store(), clock_,
                   [this](int percent) { SetStatus(kStatusProgress, {}, percent); }}),
      menu_({settings_, language_, host_, menuBar_, connection_, session_, update_,
             RecentAddresses::BesideProfile(paths_.profileFile),
             [this](int code, const std::string& text, int value) { SetStatus(code, text, value); },
             [this] { ApplyLanguageRefresh(); },
             [this] {
                 ForgetBoardValues();
                 ApplyLanguageRefresh();
                 pages_.BuildTree();
                 pages_.ShowProductPage();
             }}) {
    ReplyDispatcher& dispatcher = session_.Dispatcher();
    // Shared records derived from telemetry are current before anything else sees a reply.
    gpsInsTelemetry_.RouteFirst(dispatcher);
    connection_.RegisterReplies(dispatcher);
    update_.RegisterReplies(dispatcher);
    recorder_.RegisterReplies(dispatcher);
    session_.RegisterReplies();
    session_.linkHeld = [this] { return update_.Active() || parameters_.Busy(); };
    connection_.onPortLost = [this](const std::string& why) {
        update_.PortLost(why);
        recorder_.PortLost();
        ForgetBoardValues();
    };
    connection_.onConnected = [this] { ForgetBoardValues(); };
    session_.onTimedOut = [this](std::uint8_t group, std::uint8_t msgId,
                                 const std::string& message) {
        update_.RequestTimedOut(group, msgId, message);
    };
}

// The port's thread ends before anything it might wake goes away.
CZephranDlg::~CZephranDlg() {
    session_.Link().Close();
}

void CZephranDlg::OnInitDialog() {
    main_.SetWindowText("ZephranFPV V3.5");
    const std::size_t portsFound = connection_.ProbePorts();
    menu_.Build();
    if (language_.LoadStartup()) menu_.Build();
    pages_.BuildTree();

    session_.ShowCounters();
    SetStatus(kStatusBaud, settings_.ReadText("PCSetting", "bps"), 0);
    ApplyStatusTips(statusBar_, language_.Store());
    const bool autoScan = settings_.ReadText("PCSetting", "PortScanMode") == "Auto";
    if (autoScan) {
        SetStatus(kStatusMain, Texts().LangText("Panel", "Try Hardware Concect"), 0);
    } else {
        SetStatus(kStatusMain, Texts().LangText("Panel", "ManualConnectMode"), 0);
        host_.MessageBox(Texts().LangText("Panel", "MunualConnectProm"));
    }

    pages_.Create(*this, {update_, recorder_, replay_, &views_, clock_, paths_.logDir},
                  session_.Dispatcher());
    gpsInsTelemetry_.RouteLast(session_.Dispatcher());
    // After the pages: their sets are current when a transfer takes them.
    parameters_.RegisterReplies(session_.Dispatcher());
    // After the pages: their handlers fill the live record that the views then show.
    views_.RegisterReplies(session_.Dispatcher());
    pages_.ShowProductPage();

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

void CZephranDlg::ApplyLanguageRefresh() {
    pages_.BuildTree();
    log_.Clear();
    pages_.ApplyTexts();
    SetStatus(kStatusMain, Texts().LangText("Panel", "Change Language"), 0);
    session_.ShowCounters();
    ApplyStatusTips(statusBar_, language_.Store());
    menu_.Build();
    textsChanged.Emit();
}

std::string CZephranDlg::Title() {
    return WindowTitle(main_.GetWindowText(), connection_.OpenPort(), session_.Connected(),
                       Texts());
}

void CZephranDlg::SetStatus(int code, const std::string& text, int value) {
    ShowStatus(statusBar_, code, text, value);
}

// The edits are asked about first: a No there leaves everything as it was.
bool CZephranDlg::MayQuit() {
    return MayQuitWithUnwrittenEdits(pages_.All(), host_, language_.Store()) &&
           update_.AskToStop(FirmwareUpdate::Then::Quit);
}

void CZephranDlg::RunDueTimers() {
    timers_.RunDue(clock_.SteadyMs(), [this](int id) { OnTimer(id); });
}

void CZephranDlg::OnTimer(int id) {
    switch (id) {
        case kTimerPending:
            update_.OnTimerTick();
            session_.OnPendingTimer();
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

}  // namespace zephran
