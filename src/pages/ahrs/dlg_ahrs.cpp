#include "pages/ahrs/dlg_ahrs.h"

#include <cmath>
#include <cstdio>

#include "dispatch/reply_dispatcher.h"
#include "pages/ahrs/ahrs_messages.h"
#include "pages/record_copy.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"
#include "views/live_views.h"

namespace zephran {
namespace {

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        TextBox(CDlgAHRS::kLiveText, true, 28, 17),
        Button(CDlgAHRS::kAttitudeView, "Attitude View", "m_Attitude_View"),
        Button(CDlgAHRS::kPositionView, "Position View", "m_Attitude_Vcc_View"),
        Button(CDlgAHRS::kScope, "Scope", "m_Attitude_Scope"),
        Button(CDlgAHRS::kReset, "Reset AHRS", "m_ResetAHRS"),
        Button(CDlgAHRS::kHeadingToYaw, "Set Heading Reference", "m_Attitude_View_North"),
        Button(CDlgAHRS::kHeadingToZero, "Clear Heading Reference", "m_MagNorth"),
    };
    t.layout = Row({Item(CDlgAHRS::kLiveText),
                    Column({Item(CDlgAHRS::kAttitudeView), Item(CDlgAHRS::kPositionView),
                            Item(CDlgAHRS::kScope), Item(CDlgAHRS::kHeadingToYaw),
                            Item(CDlgAHRS::kHeadingToZero), Item(CDlgAHRS::kReset), Stretch()})});
    return t;
}

}  // namespace

std::string FormatAhrsLiveText(const AhrsLiveRecord& live) {
    const float ax = live.ax, ay = live.ay, az = live.az;
    const float mx = live.mx, my = live.my, mz = live.mz;
    const float aNorm = std::sqrt(ax * ax + ay * ay + az * az);
    const float mNorm = std::sqrt(mx * mx + my * my + mz * mz);
    char text[1024];
    std::snprintf(
        text, sizeof text,
        " Flags: %i \r\n Roll:  %6.1f \r\n Pitch: %6.1f \r\n Yaw:   %6.1f \r\n gx:    %6.2f "
        "\r\n gy:    %6.2f \r\n gz:    %6.2f \r\n ax:    %6.3f \r\n ay:    %6.3f \r\n az:   "
        " %6.3f \r\n mx:    %6.1f \r\n my:    %6.1f \r\n mz:    %6.1f \r\n ANorm:   %6.3f "
        "\r\n MNorm:   %6.1f \r\n",
        live.flags, static_cast<double>(live.roll), static_cast<double>(live.pitch),
        static_cast<double>(live.yaw), static_cast<double>(live.gx), static_cast<double>(live.gy),
        static_cast<double>(live.gz), static_cast<double>(ax), static_cast<double>(ay),
        static_cast<double>(az), static_cast<double>(mx), static_cast<double>(my),
        static_cast<double>(mz), static_cast<double>(aNorm), static_cast<double>(mNorm));
    return text;
}

CDlgAHRS::CDlgAHRS(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

void CDlgAHRS::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(kLiveText, liveText);
}

void CDlgAHRS::OnCommand(int id) {
    if (id == kReset) {
        Send(kAhrsGroup, DL_MINIAHRS_RESET);
        return;
    }
    views::LiveViews* views = host_.Views();
    if (!views) return;
    switch (id) {
        case kAttitudeView:
            views->OpenAttitudeView();
            break;
        case kPositionView:
            views->OpenPositionView();
            break;
        case kScope:
            views->OpenScope();
            break;
        case kHeadingToYaw:
            views->HeadingToYaw();
            break;
        case kHeadingToZero:
            views->HeadingToZero();
            break;
        default:
            break;
    }
}

void CDlgAHRS::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(
        kAhrsGroup, DL_ID_AHRS_DATE_COME,
        [this](const ReceiveArea& frame) {
            AhrsLiveRecord& live = host_.Records().ahrsLive;
            CopyPayload(live, frame);
            liveText = FormatAhrsLiveText(live);
            if (host_.ActivePageCode() == kPageAhrsView) UpdateData(false);
        },
        false);
}

}  // namespace zephran
