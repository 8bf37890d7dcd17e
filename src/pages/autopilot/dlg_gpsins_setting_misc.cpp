#include "pages/autopilot/dlg_gpsins_setting_misc.h"

#include <span>
#include <string_view>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"
#include "ui/layout.h"

namespace zephran {
namespace {

using Dlg = CDlgGPSINSSettingMisc;

struct Option {
    std::string_view key;
    std::string_view text;
    bool enabled = true;
};

struct ChoiceGroup {
    int caption;
    std::string_view key;
    std::string_view text;
    std::size_t recordOffset;  // the byte of the misc record
    std::vector<Option> options;
};

// A choice of Enable and Disable.
std::vector<Option> OnOff(std::string_view enableKey, std::string_view disableKey) {
    return {{enableKey, "Enable"}, {disableKey, "Disable"}};
}

// Acceleration is shown above compass, though the record holds compass first.
const std::array<ChoiceGroup, Dlg::kChoiceCount>& Groups() {
    static const std::array<ChoiceGroup, Dlg::kChoiceCount> groups{{
        {1310,
         "IDC_STATIC_INSTALL_DIRECTION_PROM",
         "安装方向",
         1,
         {{"IDC_RADIO_X_FORWARD", "Upright, X Forward"},
          {"IDC_RADIO_X_RIGHT", "Upright, X Right"},
          {"IDC_RADIO_X_BACKWARD", "Upright, X Backward"},
          {"IDC_RADIO_X_LEFT", "Upright, X Left"},
          // The board is mounted upright; the inverted directions are shown but not offered.
          {"IDC_RADIO_INV_X_FORWARD", "Inverted, X Forward", false},
          {"IDC_RADIO_INV_X_RIGHT", "Inverted, X Right", false},
          {"IDC_RADIO_INV_X_BACKWARD", "Inverted, X Backward", false},
          {"IDC_RADIO_INV_X_LEFT", "Inverted, X Left", false}}},
        {1320,
         "IDC_STATIC_RUNNING_MODE",
         "运行模式",
         2,
         {{"IDC_RADIO_RUNNING_MODE_PREDICONLY", "仅积分"},
          {"IDC_RADIO_RUNNING_MODE_AHRS", "AHRS"},
          {"IDC_RADIO_RUNNING_MODE_GPSINS", "GPSINS"}}},
        {1330, "IDC_STATIC_USE_HORIVCC_PROM", "Horizontal Velocity Update", 3,
         OnOff("IDC_RADIO_HORI_VCC_ON", "IDC_RADIO_HORI_VCC_OFF")},
        {1340, "IDC_STATIC_USE_VERTI_VCC_PROM", "Vertical Velocity Update", 4,
         OnOff("IDC_RADIO_VERTI_VCC_ON", "IDC_RADIO_VERTI_VCC_OFF")},
        {1350, "IDC_STATIC_USE_ACC_UPDATE_PROM", "Acceleration Update", 6,
         OnOff("IDC_RADIO_ACC_ON", "IDC_RADIO_ACC_OFF")},
        {1360, "IDC_STATIC_USE_COMPASS_UPDATE_PROM", "Compass Update", 5,
         OnOff("IDC_RADIO_COMPASS_ON", "IDC_RADIO_COMPASS_OFF")},
    }};
    return groups;
}

int LastRadio(std::size_t choice) {
    return Dlg::kFirstRadio[choice] + static_cast<int>(Groups()[choice].options.size()) - 1;
}

std::span<std::uint8_t> MiscBytes(RecordStore& records) {
    return records.Bytes(ReplyRecord::kGpsInsMisc);
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> left, right;
    for (std::size_t c = 0; c < Dlg::kChoiceCount; ++c) {
        const ChoiceGroup& group = Groups()[c];
        t.controls.push_back(
            GroupBox(group.caption, std::string(group.text), std::string(group.key)));
        std::vector<LayoutItem> radios;
        for (std::size_t o = 0; o < group.options.size(); ++o) {
            const int id = Dlg::kFirstRadio[c] + static_cast<int>(o);
            Control radio = Radio(id, group.caption, std::string(group.options[o].text),
                                  std::string(group.options[o].key));
            radio.enabled = group.options[o].enabled;
            t.controls.push_back(std::move(radio));
            radios.push_back(Item(id));
        }
        (c < Dlg::kHorizontalVelocity ? left : right)
            .push_back(
                Group(group.caption, c == Dlg::kDirection ? std::vector{Grid(2, radios)} : radios));
    }
    t.controls.push_back(Button(Dlg::kRead, "Read", "IDC_BUTTON_GPSINS_PARA_MISC_READ"));
    t.controls.push_back(Button(Dlg::kWrite, "Write", "IDC_BUTTON_GPSINS_PARA_MISC_WRITE"));
    left.push_back(Stretch());
    right.push_back(Stretch());
    t.layout = Column({Row({Column(left), Column(right), Stretch()}),
                       Row({Item(Dlg::kRead), Item(Dlg::kWrite), Stretch()}), Stretch()});
    return t;
}

std::vector<int> AllRadios() {
    std::vector<int> radios;
    for (std::size_t c = 0; c < Dlg::kChoiceCount; ++c) {
        for (int id = Dlg::kFirstRadio[c]; id <= LastRadio(c); ++id)
            radios.push_back(id);
    }
    return radios;
}

}  // namespace

CDlgGPSINSSettingMisc::CDlgGPSINSSettingMisc(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()),
      settings_("GPS/INS misc settings", *this, AllRadios()) {
    TrackValues(settings_);
}

void CDlgGPSINSSettingMisc::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t c = 0; c < kChoiceCount; ++c)
        dx.Radio(kFirstRadio[c], LastRadio(c), choices[c]);
}

void CDlgGPSINSSettingMisc::OnCommand(int id) {
    if (settings_.Holds(id)) OnEditChange(id);
    if (id == kRead) Send(msg::DL_GPSINS_MISC_READ);
    if (id == kWrite) Write();
}

// A group with no button checked (the board sent a value the page has no button for) keeps
// the board's byte rather than sending -1 as 255.
void CDlgGPSINSSettingMisc::Write() {
    if (!UpdateData(true)) return;
    const std::span<std::uint8_t> record = MiscBytes(host_.Records());
    for (std::size_t c = 0; c < kChoiceCount; ++c) {
        if (choices[c] >= 0)
            record[Groups()[c].recordOffset] = static_cast<std::uint8_t>(choices[c]);
    }
    if (Send(msg::DL_GPSINS_MISC_WRITE, record)) settings_.WriteSent();
}

void CDlgGPSINSSettingMisc::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_GPSINS_MISC_READ, [this](const ReceiveArea&) {
        const std::span<std::uint8_t> record = MiscBytes(host_.Records());
        for (std::size_t c = 0; c < kChoiceCount; ++c)
            choices[c] = record[Groups()[c].recordOffset];
        settings_.Reported();
        UpdateData(false);
    });
    dispatcher.Route(msg::DL_GPSINS_MISC_WRITE,
                     [this](const ReceiveArea&) { settings_.WriteAcknowledged(); });
}

}  // namespace zephran
