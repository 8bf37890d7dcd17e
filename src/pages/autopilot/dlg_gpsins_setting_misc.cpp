#include "pages/autopilot/dlg_gpsins_setting_misc.h"

#include <vector>

#include "link/messages.h"
#include "link/text_source.h"
#include "ui/controls.h"
#include "ui/layout.h"

namespace zephran {
namespace {

using Dlg = CDlgGPSINSSettingMisc;

// The board is mounted upright; the inverted directions are shown but not offered.
constexpr ChoiceOption kDirections[] = {{"IDC_RADIO_X_FORWARD", "Upright, X Forward"},
                                        {"IDC_RADIO_X_RIGHT", "Upright, X Right"},
                                        {"IDC_RADIO_X_BACKWARD", "Upright, X Backward"},
                                        {"IDC_RADIO_X_LEFT", "Upright, X Left"},
                                        {"IDC_RADIO_INV_X_FORWARD", "Inverted, X Forward", false},
                                        {"IDC_RADIO_INV_X_RIGHT", "Inverted, X Right", false},
                                        {"IDC_RADIO_INV_X_BACKWARD", "Inverted, X Backward", false},
                                        {"IDC_RADIO_INV_X_LEFT", "Inverted, X Left", false}};
constexpr ChoiceOption kRunningModes[] = {{"IDC_RADIO_RUNNING_MODE_PREDICONLY", "仅积分"},
                                          {"IDC_RADIO_RUNNING_MODE_AHRS", "AHRS"},
                                          {"IDC_RADIO_RUNNING_MODE_GPSINS", "GPSINS"}};
constexpr ChoiceOption kHorizontalVelocity[] = {{"IDC_RADIO_HORI_VCC_ON", "Enable"},
                                                {"IDC_RADIO_HORI_VCC_OFF", "Disable"}};
constexpr ChoiceOption kVerticalVelocity[] = {{"IDC_RADIO_VERTI_VCC_ON", "Enable"},
                                              {"IDC_RADIO_VERTI_VCC_OFF", "Disable"}};
constexpr ChoiceOption kAcceleration[] = {{"IDC_RADIO_ACC_ON", "Enable"},
                                          {"IDC_RADIO_ACC_OFF", "Disable"}};
constexpr ChoiceOption kCompass[] = {{"IDC_RADIO_COMPASS_ON", "Enable"},
                                     {"IDC_RADIO_COMPASS_OFF", "Disable"}};

constexpr Choices kDirectionChoices{kDirections, 2};
constexpr Choices kRunningModeChoices{kRunningModes};
constexpr Choices kHorizontalVelocityChoices{kHorizontalVelocity};
constexpr Choices kVerticalVelocityChoices{kVerticalVelocity};
constexpr Choices kAccelerationChoices{kAcceleration};
constexpr Choices kCompassChoices{kCompass};

// In page order, each at its byte of the misc record: acceleration is shown above compass,
// though the record holds compass first.
constexpr ParameterField kFields[Dlg::kChoiceCount] = {
    ChoiceField("mountingDirection", 1, 1310, Dlg::kFirstRadio[Dlg::kDirection], "安装方向",
                "IDC_STATIC_INSTALL_DIRECTION_PROM", kDirectionChoices, 0),
    ChoiceField("runningMode", 2, 1320, Dlg::kFirstRadio[Dlg::kRunningMode], "运行模式",
                "IDC_STATIC_RUNNING_MODE", kRunningModeChoices, 2),
    ChoiceField("horizontalVelocityUpdate", 3, 1330, Dlg::kFirstRadio[Dlg::kHorizontalVelocity],
                "Horizontal Velocity Update", "IDC_STATIC_USE_HORIVCC_PROM",
                kHorizontalVelocityChoices, 0),
    ChoiceField("verticalVelocityUpdate", 4, 1340, Dlg::kFirstRadio[Dlg::kVerticalVelocity],
                "Vertical Velocity Update", "IDC_STATIC_USE_VERTI_VCC_PROM",
                kVerticalVelocityChoices, 0),
    ChoiceField("accelerationUpdate", 6, 1350, Dlg::kFirstRadio[Dlg::kAccelerationUpdate],
                "Acceleration Update", "IDC_STATIC_USE_ACC_UPDATE_PROM", kAccelerationChoices, 0),
    ChoiceField("compassUpdate", 5, 1360, Dlg::kFirstRadio[Dlg::kCompassUpdate], "Compass Update",
                "IDC_STATIC_USE_COMPASS_UPDATE_PROM", kCompassChoices, 0),
};

// Direction and running mode on the left, the four updates on the right.
ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> groups = ParameterSetBinding::AddControls(Dlg::kMisc, t);
    std::vector<LayoutItem> left(groups.begin(), groups.begin() + Dlg::kHorizontalVelocity);
    std::vector<LayoutItem> right(groups.begin() + Dlg::kHorizontalVelocity, groups.end());
    left.push_back(Stretch());
    right.push_back(Stretch());
    std::vector<LayoutItem> buttons =
        ParameterSetBinding::AddButtons(Dlg::kMisc, t,
                                        {{"Read", "IDC_BUTTON_GPSINS_PARA_MISC_READ"},
                                         {"Write", "IDC_BUTTON_GPSINS_PARA_MISC_WRITE"}});
    buttons.push_back(Stretch());
    t.layout = Column({Row({Column(left), Column(right), Stretch()}), Row(buttons), Stretch()});
    return t;
}

}  // namespace

const ParameterSet CDlgGPSINSSettingMisc::kMisc = RecordSet(
    "GPS/INS misc settings",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "GPS/INS Mounting And Mode",
                         "GPS/INS mounting and mode");
    },
    {&msg::DL_GPSINS_MISC_READ, &msg::DL_GPSINS_MISC_WRITE}, {kRead, kWrite},
    ReplyRecord::kGpsInsMisc, kFields, SetRules::kLeadingByte);

CDlgGPSINSSettingMisc::CDlgGPSINSSettingMisc(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(), {&kMisc}) {}

}  // namespace zephran
