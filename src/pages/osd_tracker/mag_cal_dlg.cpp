#include "pages/osd_tracker/mag_cal_dlg.h"

#include <algorithm>
#include <iterator>

#include "link/messages.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using Dlg = CMagCalDlg;

enum : int { kMagCalGroup = 1076, kSpeedGroup = 1080, kSpeedLabel = 1085 };
enum : int { kReadingsGroup = 1086, kCalibrationGroup = 1093, kCompassOffsetGroup = 1098 };
enum : int { kCompassOffsetLabel = 1099, kDegreeLabel = 1100 };

constexpr int kButtons[] = {
    Dlg::kReadSpeed,          Dlg::kSetSpeed,          Dlg::kBeginCal,        Dlg::kReadCalibration,
    Dlg::kDefaultCalibration, Dlg::kReadCompassOffset, Dlg::kSetCompassOffset};

// A value the tracker reports: shown, never sent.
constexpr ParameterField Reported(std::string_view name, std::uint16_t offset, int box, int label,
                                  std::string_view caption, std::string_view key) {
    return {.name = name,
            .offset = offset,
            .box = box,
            .label = label,
            .caption = caption,
            .key = key,
            .readOnly = true};
}

constexpr ParameterField kSpeedFields[] = {
    {.name = "turningSpeed",
     .box = Dlg::kSpeed,
     .label = kSpeedLabel,
     .caption = "Speed:",
     .key = "IDC_STATIC_CAL_SPEED_SET",
     .initial = 4000},
};
// Only x and y of the tracker's three axes; the grid shows them side by side.
constexpr ParameterField kReadingFields[] = {
    Reported("xCurrent", 0, Dlg::kXValue, 1087, "X Current:", "IDC_STATIC_X_VALUE"),
    Reported("yCurrent", 4, Dlg::kYValue, 1088, "Y Current:", "IDC_STATIC_Y_VALUE"),
    Reported("xMinimum", 12, Dlg::kXMin, 1089, "X Minimum:", "IDC_STATIC_X_MIN"),
    Reported("yMinimum", 16, Dlg::kYMin, 1090, "Y Minimum:", "IDC_STATIC_Y_MIN"),
    Reported("xMaximum", 24, Dlg::kXMax, 1091, "X Maximum:", "IDC_STATIC_X_MAX"),
    Reported("yMaximum", 28, Dlg::kYMax, 1092, "Y Maximum:", "IDC_STATIC_Y_MAX"),
};
constexpr ParameterField kCalibrationFields[] = {
    Reported("xOffset", 0, Dlg::kXOffset, 1094, "X Offset:", "IDC_STATIC_X_OFFSET"),
    Reported("yOffset", 4, Dlg::kYOffset, 1095, "Y Offset:", "IDC_STATIC_Y_OFFSET"),
    Reported("xScale", 12, Dlg::kXScale, 1096, "X Scale:", "IDC_STATIC_X_SCALE"),
    Reported("yScale", 16, Dlg::kYScale, 1097, "Y Scale:", "IDC_STATIC_Y_SCALE"),
};
constexpr ParameterField kCompassOffsetFields[] = {
    {.name = "compassOffset",
     .box = Dlg::kCompassOffset,
     .label = kCompassOffsetLabel,
     .caption = "Offset:",
     .key = "IDC_STATIC_COMPASS_OFFSET",
     .unit = "°",
     .unitLabel = kDegreeLabel,
     .unitKey = "IDC_STATIC_DEGREE"},
};

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        GroupBox(kMagCalGroup, "Compass Calibration", "IDC_STATIC_MAGCAL"),
        GroupBox(kSpeedGroup, "Calibration Turning Speed", "IDC_STATIC_CAL_SPEED_GROUP"),
        GroupBox(kReadingsGroup, "Compass Readings", "IDC_STATIC_CAL_GROUP"),
        GroupBox(kCalibrationGroup, "Calibration Parameters", "IDC_STATIC_CAL_PARAMETER_GROUP"),
        GroupBox(kCompassOffsetGroup, "Compass Offset", "IDC_STATIC_COMPASS_OFFSET_GROUP"),
        Button(Dlg::kReadSpeed, "Read", "m_ButtonRead"),
        Button(Dlg::kSetSpeed, "Set", "m_ButtonSet"),
        Button(Dlg::kBeginCal, "Start Calibration", "m_ButtonBeginCal"),
        Button(Dlg::kReadCalibration, "Read", "m_ButtonRead"),
        Button(Dlg::kDefaultCalibration, "Default", "m_ButtonSetDefault"),
        Button(Dlg::kReadCompassOffset, "Read", "m_ButtonRead"),
        Button(Dlg::kSetCompassOffset, "Set", "m_ButtonSet"),
    };
    t.layout = Column({
        Group(
            kMagCalGroup,
            {
                Group(kSpeedGroup,
                      {Row({Grid(2, ParameterSetBinding::AddControls(Dlg::kSpeedSet, t)),
                            LeftRow({Item(Dlg::kReadSpeed), Item(Dlg::kSetSpeed)})})}),
                Group(kReadingsGroup, {Grid(4, ParameterSetBinding::AddControls(Dlg::kReadings, t)),
                                       LeftRow({Item(Dlg::kBeginCal)})}),
                Group(kCalibrationGroup,
                      {Grid(4, ParameterSetBinding::AddControls(Dlg::kCalibration, t)),
                       LeftRow({Item(Dlg::kReadCalibration), Item(Dlg::kDefaultCalibration)})}),
            }),
        Group(kCompassOffsetGroup,
              {Row({Grid(3, ParameterSetBinding::AddControls(Dlg::kCompassOffsetSet, t)),
                    LeftRow({Item(Dlg::kReadCompassOffset), Item(Dlg::kSetCompassOffset)})})}),
        Stretch(),
    });
    return t;
}

}  // namespace

// The tracker's replies carry no leading byte; the dispatcher passes on none shorter than its
// layout, so a short reply changes nothing.
const ParameterSet CMagCalDlg::kSpeedSet{
    "Calibration turning speed",
    {&msg::kAatMotorSpeedRead, &msg::kAatMotorSpeedSet, nullptr},
    {kReadSpeed, kSetSpeed, 0},
    ReplyRecord::kAatMotorSpeed,
    0,
    false,
    kSpeedFields};
// The tracker reports these on its own while it turns; no button asks for them.
const ParameterSet CMagCalDlg::kReadings{
    "Compass readings", {&msg::kAatReadMag, nullptr, nullptr}, {}, ReplyRecord::kAatMag, 0, false,
    kReadingFields};
const ParameterSet CMagCalDlg::kCalibration{
    "Compass calibration",
    {&msg::kAatReadMagCalPara, nullptr, &msg::kAatSetMagDefault},
    {kReadCalibration, 0, kDefaultCalibration},
    ReplyRecord::kAatMagCal,
    0,
    false,
    kCalibrationFields};
const ParameterSet CMagCalDlg::kCompassOffsetSet{
    "Compass offset",
    {&msg::kAatReadCompassOffset, &msg::kAatSetCompassOffset, nullptr},
    {kReadCompassOffset, kSetCompassOffset, 0},
    ReplyRecord::kAatCompassOffset,
    0,
    false,
    kCompassOffsetFields};

CMagCalDlg::CMagCalDlg(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(),
                    {&kSpeedSet, &kReadings, &kCalibration, &kCompassOffsetSet}) {}

// Every button takes the editable boxes in first; its request goes out with the values as they
// then stand, even when a box did not parse.
void CMagCalDlg::OnCommand(int id) {
    if (std::ranges::find(kButtons, id) == std::end(kButtons)) return;
    UpdateData(true);
    if (id == kBeginCal) {
        Send(msg::kAatStartMagCal);
        return;
    }
    for (ParameterSetBinding& set : sets_) {
        const ParameterSet::Buttons& b = set.Set().buttons;
        if (id == b.read) set.Read();
        if (id == b.write) set.SendWrite();
        if (id == b.reset) set.Reset();
    }
}

}  // namespace zephran
