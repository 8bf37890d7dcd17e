#include "pages/ahrs/dlg_ahrs.h"

#include <cmath>
#include <cstdio>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using Dlg = CDlgAHRS;

constexpr LiveViewPage::Buttons kButtons{
    .reset = {Dlg::kReset, "Reset AHRS", "m_ResetAHRS"},
    .attitudeView = {Dlg::kAttitudeView, "Attitude View", "m_Attitude_View"},
    .positionView = {Dlg::kPositionView, "Position View", "m_Attitude_Vcc_View"},
    .scope = {Dlg::kScope, "Scope", "m_Attitude_Scope"},
    .headingToYaw = {Dlg::kHeadingToYaw, "Set Heading Reference", "m_Attitude_View_North"},
    .headingToZero = {Dlg::kHeadingToZero, "Clear Heading Reference", "m_MagNorth"},
};

ui::WindowTemplate Template() {
    using namespace ui;
    using B = LiveViewPage::Buttons;
    WindowTemplate t;
    t.controls = {TextBox(Dlg::kLiveText, true, 28, 17)};
    std::vector<LayoutItem> buttons =
        LiveViewPage::AddButtons(kButtons,
                                 {&B::attitudeView, &B::positionView, &B::scope, &B::headingToYaw,
                                  &B::headingToZero, &B::reset},
                                 t);
    buttons.push_back(Stretch());
    t.layout = Row({Item(Dlg::kLiveText), Column(std::move(buttons))});
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

std::string FormatGpsInsLiveText(const AhrsLiveRecord& live) {
    char text[1024];
    std::snprintf(
        text, sizeof text,
        " Flags: %i \r\n Roll:  %f \r\n Pitch: %f \r\n Yaw:   %f \r\n gx:    %f \r\n gy:   "
        " %f \r\n gz:    %f \r\n ax:    %f \r\n ay:    %f \r\n az:    %f \r\n mx:    %f "
        "\r\n my:    %f \r\n mz:    %f \r\n",
        live.flags, static_cast<double>(live.roll), static_cast<double>(live.pitch),
        static_cast<double>(live.yaw), static_cast<double>(live.gx), static_cast<double>(live.gy),
        static_cast<double>(live.gz), static_cast<double>(live.ax), static_cast<double>(live.ay),
        static_cast<double>(live.az), static_cast<double>(live.mx), static_cast<double>(live.my),
        static_cast<double>(live.mz));
    return text;
}

CDlgAHRS::CDlgAHRS(PageHost& host, const PageServices& services, Identity identity)
    : LiveViewPage(host, services, std::move(identity), Template(), kButtons) {}

void CDlgAHRS::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(kLiveText, liveText);
}

void CDlgAHRS::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_ID_AHRS_DATE_COME, [this](const ReceiveArea&) {
        ShowLiveText(FormatAhrsLiveText(host_.Records().ahrsLive));
    });
    const auto gpsIns = [this](const ReceiveArea&) {
        ShowLiveText(FormatGpsInsLiveText(host_.Records().ahrsLive));
    };
    dispatcher.Route(msg::DL_GPSINS_SENSORRAW, gpsIns);
    dispatcher.Route(msg::DL_GPSINS_NAVOUTPUT, gpsIns);
}

void CDlgAHRS::ShowLiveText(std::string text) {
    liveText = std::move(text);
    if (IsShown()) UpdateData(false);
}

}  // namespace zephran
