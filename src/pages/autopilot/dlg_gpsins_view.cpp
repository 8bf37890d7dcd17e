#include "pages/autopilot/dlg_gpsins_view.h"

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/layout.h"

namespace zephran {
namespace {

using Dlg = CDlgGPSINSView;

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        TextBox(Dlg::kNavOutputText, true, 24, 21),
        TextBox(Dlg::kSensorsRawText, true, 18, 21),
        TextBox(Dlg::kGpsRawText, true, 24, 21),
        Button(Dlg::kAttitudeView, "Attitude View", "IDC_BUTTON_OPEN_ATTITUDE_VIEW"),
        Button(Dlg::kHeadingToYaw, "Attitude to North", "IDC_BUTTON_OPEN_ATTITUDE_NORTH"),
        Button(Dlg::kHeadingToZero, "Magnetic North", "IDC_BUTTON_OPEN_MAG_NORTH"),
        Button(Dlg::kScope, "Sensor Scope", "IDC_BUTTON_OPEN_ATTITUDE_SCOPE"),
        Button(Dlg::kReset, "Reset GPS/INS", "IDC_BUTTON_RESETAHRS"),
    };
    t.layout = Column(
        {Row({Item(Dlg::kNavOutputText), Item(Dlg::kSensorsRawText), Item(Dlg::kGpsRawText)}),
         Row({Item(Dlg::kAttitudeView), Item(Dlg::kHeadingToYaw), Item(Dlg::kHeadingToZero),
              Item(Dlg::kScope), Item(Dlg::kReset), Stretch()}),
         Stretch()});
    return t;
}

}  // namespace

// The heading buttons act on the heading reference the live windows keep, as the AHRS view's do;
// it has no position view.
CDlgGPSINSView::CDlgGPSINSView(PageHost& host, const PageServices& services, Identity identity)
    : LiveViewPage(host, services, std::move(identity), Template(),
                   {kReset, kAttitudeView, 0, kScope, kHeadingToYaw, kHeadingToZero}) {}

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
