#include "pages/autopilot/dlg_multicopter_misc.h"

#include "link/messages.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using Dlg = CDlgMulticopterMisc;

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        Radio(Dlg::kNormal, Dlg::kPrompt, "正常模式", "IDC_RADIO_GPSINS_NORMAL_OUTPUT"),
        Radio(Dlg::kDirect, Dlg::kPrompt, "直通", "IDC_RADIO_GPSINS_DIRECTL_OUTPUT"),
        Button(Dlg::kSet, "Set", "IDC_BUTTON_GPSINS_DIRECT_OUTPUT_SET"),
    };
    t.layout = Column({
        AddGroup(t, Dlg::kPrompt, "GPSINS直通输出", "IDC_STATIC_GPSINS_DIRECT_OUTPUT_SELECT_PROM",
                 {LeftRow({Item(Dlg::kNormal), Item(Dlg::kDirect), Item(Dlg::kSet)})}),
        Stretch(),
    });
    return t;
}

}  // namespace

CDlgMulticopterMisc::CDlgMulticopterMisc(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

void CDlgMulticopterMisc::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(kNormal, kDirect, output);
}

void CDlgMulticopterMisc::OnCommand(int id) {
    if (id != kSet || !UpdateData(true)) return;
    const auto choice = static_cast<std::uint8_t>(output);
    Send(msg::DL_MUTICOPTER_GPSINS_DIRECT_OUTPUT, {&choice, 1});
}

}  // namespace zephran
