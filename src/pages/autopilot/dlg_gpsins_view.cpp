#include "pages/autopilot/dlg_gpsins_view.h"

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/layout.h"

namespace zephran {
namespace {

using Dlg = CDlgGPSINSView;

constexpr LiveViewPage::Buttons kButtons{
    .reset = {Dlg::kReset, "Reset GPS/INS", "IDC_BUTTON_RESETAHRS"},
    .attitudeView = {Dlg::kAttitudeView, "Attitude View", "IDC_BUTTON_OPEN_ATTITUDE_VIEW"},
    .scope = {Dlg::kScope, "Sensor Scope", "IDC_BUTTON_OPEN_ATTITUDE_SCOPE"},
    .headingToYaw = {Dlg::kHeadingToYaw, "Attitude to North", "IDC_BUTTON_OPEN_ATTITUDE_NORTH"},
    .headingToZero = {Dlg::kHeadingToZero, "Magnetic North", "IDC_BUTTON_OPEN_MAG_NORTH"},
};

ui::WindowTemplate Template() {
    using namespace ui;
    using B = LiveViewPage::Buttons;
    WindowTemplate t;
    t.controls = {
        TextBox(Dlg::kNavOutputText, true, 24, 21),
        TextBox(Dlg::kSensorsRawText, true, 18, 21),
        TextBox(Dlg::kGpsRawText, true, 24, 21),
    };
    std::vector<LayoutItem> buttons = LiveViewPage::AddButtons(
        kButtons, {&B::attitudeView, &B::headingToYaw, &B::headingToZero, &B::scope, &B::reset}, t);
    buttons.push_back(Stretch());
    t.layout = Column(
        {Row({Item(Dlg::kNavOutputText), Item(Dlg::kSensorsRawText), Item(Dlg::kGpsRawText)}),
         Row(std::move(buttons)), Stretch()});
    return t;
}

}  // namespace

// The heading buttons act on the heading reference the live windows keep, as the AHRS view's do;
// it has no position view.
CDlgGPSINSView::CDlgGPSINSView(PageHost& host, const PageServices& services, Identity identity)
    : LiveViewPage(host, services, std::move(identity), Template(), kButtons) {}

// The texts are current before this runs; the SensorsRaw text reaches the screen only here.
void CDlgGPSINSView::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_GPSINS_NAVOUTPUT, [this](const ReceiveArea&) {
        if (!IsShown()) return;
        const GpsInsTexts& texts = host_.Records().gpsInsTexts;
        SetDlgItemText(kNavOutputText, texts.navOutput);
        SetDlgItemText(kSensorsRawText, texts.sensorsRaw);
        SetDlgItemText(kGpsRawText, texts.gpsRaw);
    });
}

}  // namespace zephran
