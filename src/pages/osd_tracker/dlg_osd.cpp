#include "pages/osd_tracker/dlg_osd.h"

#include "link/messages.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {

// The OSD screen settings of group 13, one message per choice.
const std::array<COSD::Choice, 6> COSD::kChoices{{
    {1300, 1310, 2, 1350, &msg::kSetMainScreenMode, 0},              // main screen style
    {1301, 1312, 3, 1351, &msg::kSetRadarMode, 1},                   // radar indicator
    {1302, 1315, 3, 1352, &msg::kSetUnit, 0},                        // units
    {1303, 1318, 2, 1353, &msg::kSetRssiMode, 0},                    // RSSI display
    {1304, 1320, 2, 1354, &msg::DL_ID_OSD_SET_RSSI_INPUT_MODE, 0},   // RSSI input type
    {1305, 1322, 2, 1355, &msg::DL_ID_OSD_SET_FLIGHT_SUMMURIZE, 0},  // flight summary
}};

namespace {

struct ChoiceTexts {
    const char* caption;
    const char* captionKey;
    std::array<const char*, 3> options;
    std::array<const char*, 3> optionKeys;
};

constexpr ChoiceTexts kTexts[6] = {
    {"Main Screen",
     "IDC_STATIC_MAIN_SCREEN_SELECT_PROM",
     {"Standard", "Simple"},
     {"IDC_RADIO_ZEPHRAN_STANDAR", "IDC_RADIO_SIMPLE"}},
    {"Radar",
     "IDC_STATIC_RADAR_MODE_PROM",
     {"None", "Ground Radar", "Sky Radar"},
     {"IDC_RADIO_RADAR_NONE", "IDC_RADIO_RADAR_GROUND", "IDC_RADIO_RADAR_SKY"}},
    {"Units",
     "IDC_STATIC_UNIT_SELECT_PROM",
     {"Metric", "Imperial (mph)", "Imperial (knots)"},
     {"IDC_RADIO_METRIC", "IDC_RADIO_IMPERAIL_MPH", "IDC_RADIO_IMPERAIL_KNOT"}},
    {"RSSI Display",
     "IDC_STATIC_RSSI_VIEW_MODE_PROM",
     {"Voltage", "Percentage"},
     {"IDC_RADIO_RSSI_VOLTAGE_MODE", "IDC_RADIO_RSSI_PERCENT_MODE"}},
    {"RSSI Input",
     "IDC_STATIC_RSSI_INPUT_MODE_PROM",
     {"Analog RSSI", "Digital RSSI"},
     {"IDC_RADIO_RSSI_ANALOG_MODE", "IDC_RADIO_RSSI_DIGITAL_MODE"}},
    {"Flight Summary",
     "IDC_STATIC_SUMMURIZE_PROM",
     {"Off", "On"},
     {"IDC_RADIO_FLY_SUMMURIZE_DISABLE", "IDC_RADIO_FLY_SUMMURIZE_ENABLE"}},
};

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> groups;
    for (std::size_t c = 0; c < COSD::kChoices.size(); ++c) {
        const COSD::Choice& choice = COSD::kChoices[c];
        t.controls.push_back(GroupBox(choice.group, kTexts[c].caption, kTexts[c].captionKey));
        std::vector<LayoutItem> items;
        for (int option = 0; option < choice.options; ++option) {
            t.controls.push_back(Radio(choice.firstRadio + option, choice.group,
                                       kTexts[c].options[static_cast<std::size_t>(option)],
                                       kTexts[c].optionKeys[static_cast<std::size_t>(option)]));
            items.push_back(Item(choice.firstRadio + option));
        }
        t.controls.push_back(Button(choice.set, "Set", "m_ButtonSet"));
        items.push_back(Row({Stretch(), Item(choice.set)}));
        groups.push_back(Group(choice.group, std::move(items)));
    }
    t.layout = Column({Grid(3, std::move(groups)), Stretch()});
    return t;
}

}  // namespace

COSD::COSD(PageHost& host, Identity identity) : Page(host, std::move(identity), Template()) {
    for (std::size_t c = 0; c < kChoices.size(); ++c)
        indexes[c] = kChoices[c].initial;
}

void COSD::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t c = 0; c < kChoices.size(); ++c) {
        const Choice& choice = kChoices[c];
        dx.Radio(choice.firstRadio, choice.firstRadio + choice.options - 1, indexes[c]);
    }
}

void COSD::OnCommand(int id) {
    for (std::size_t c = 0; c < kChoices.size(); ++c) {
        if (kChoices[c].set != id || !UpdateData(true)) continue;
        const auto index = static_cast<std::uint8_t>(indexes[c]);
        Send(*kChoices[c].message, {&index, 1});
    }
}

}  // namespace zephran
