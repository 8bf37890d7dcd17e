#include "pages/osd_tracker/mag_cal_dlg.h"

#include <algorithm>
#include <iterator>

#include "link/messages.h"
#include "link/text_source.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using Dlg = CMagCalDlg;

enum : int { kMagCalGroup = 1076, kSpeedGroup = 1080, kSpeedLabel = 1085 };
enum : int { kReadingsGroup = 1086, kCalibrationGroup = 1093, kCompassOffsetGroup = 1098 };
enum : int { kCompassOffsetLabel = 1099, kDegreeLabel = 1100 };

constexpr ParameterField kSpeedFields[] = {
    LabelledField("turningSpeed", 0, Dlg::kSpeed, kSpeedLabel, "Speed:", "IDC_STATIC_CAL_SPEED_SET")
        .Initially(4000),
};
// Only x and y of the tracker's three axes; the grid shows them side by side.
constexpr ParameterField kReadingFields[] = {
    ReportedField("xCurrent", 0, Dlg::kXValue, 1087, "X Current:", "IDC_STATIC_X_VALUE"),
    ReportedField("yCurrent", 4, Dlg::kYValue, 1088, "Y Current:", "IDC_STATIC_Y_VALUE"),
    ReportedField("xMinimum", 12, Dlg::kXMin, 1089, "X Minimum:", "IDC_STATIC_X_MIN"),
    ReportedField("yMinimum", 16, Dlg::kYMin, 1090, "Y Minimum:", "IDC_STATIC_Y_MIN"),
    ReportedField("xMaximum", 24, Dlg::kXMax, 1091, "X Maximum:", "IDC_STATIC_X_MAX"),
    ReportedField("yMaximum", 28, Dlg::kYMax, 1092, "Y Maximum:", "IDC_STATIC_Y_MAX"),
};
constexpr ParameterField kCalibrationFields[] = {
    ReportedField("xOffset", 0, Dlg::kXOffset, 1094, "X Offset:", "IDC_STATIC_X_OFFSET"),
    ReportedField("yOffset", 4, Dlg::kYOffset, 1095, "Y Offset:", "IDC_STATIC_Y_OFFSET"),
    ReportedField("xScale", 12, Dlg::kXScale, 1096, "X Scale:", "IDC_STATIC_X_SCALE"),
    ReportedField("yScale", 16, Dlg::kYScale, 1097, "Y Scale:", "IDC_STATIC_Y_SCALE"),
};
constexpr ParameterField kCompassOffsetFields[] = {
    LabelledField("compassOffset", 0, Dlg::kCompassOffset, kCompassOffsetLabel,
                  "Offset:", "IDC_STATIC_COMPASS_OFFSET")
        .InUnit("°", kDegreeLabel, "IDC_STATIC_DEGREE"),
};

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {Button(Dlg::kBeginCal, "Start Calibration", "m_ButtonBeginCal")};
    // A set's boxes in a grid, its buttons in a row after them.
    const auto set = [&t](const ParameterSet& s, int columns) {
        std::vector<LayoutItem> boxes = ParameterSetBinding::AddControls(s, t);
        return std::vector<LayoutItem>{Grid(columns, std::move(boxes)),
                                       LeftRow(ParameterSetBinding::AddButtons(s, t))};
    };
    LayoutItem speed = AddGroup(t, kSpeedGroup, "Calibration Turning Speed",
                                "IDC_STATIC_CAL_SPEED_GROUP", {Row(set(Dlg::kSpeedSet, 2))});
    LayoutItem readings = AddGroup(t, kReadingsGroup, "Compass Readings", "IDC_STATIC_CAL_GROUP",
                                   {Grid(4, ParameterSetBinding::AddControls(Dlg::kReadings, t)),
                                    LeftRow({Item(Dlg::kBeginCal)})});
    LayoutItem calibration = AddGroup(t, kCalibrationGroup, "Calibration Parameters",
                                      "IDC_STATIC_CAL_PARAMETER_GROUP", set(Dlg::kCalibration, 4));
    LayoutItem offset =
        AddGroup(t, kCompassOffsetGroup, "Compass Offset", "IDC_STATIC_COMPASS_OFFSET_GROUP",
                 {Row(set(Dlg::kCompassOffsetSet, 3))});
    t.layout = Column({
        AddGroup(t, kMagCalGroup, "Compass Calibration", "IDC_STATIC_MAGCAL",
                 {std::move(speed), std::move(readings), std::move(calibration)}),
        std::move(offset),
        Stretch(),
    });
    return t;
}

}  // namespace

// The tracker's sets: no leading byte, and every button takes the boxes in first.
const ParameterSet CMagCalDlg::kSpeedSet = RecordSet(
    "Calibration turning speed",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Turning Speed", "Calibration turning speed");
    },
    {&msg::kAatMotorSpeedRead, &msg::kAatMotorSpeedSet}, {kReadSpeed, kSetSpeed},
    ReplyRecord::kAatMotorSpeed, kSpeedFields, SetRules::kTracker);
// The tracker reports these on its own while it turns; no button asks for them.
const ParameterSet CMagCalDlg::kReadings = RecordSet(
    "Compass readings",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Compass Readings", "Compass readings");
    },
    {&msg::kAatReadMag}, {}, ReplyRecord::kAatMag, kReadingFields);
const ParameterSet CMagCalDlg::kCalibration = RecordSet(
    "Compass calibration",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Tracker Compass Calibration",
                         "Compass calibration");
    },
    {&msg::kAatReadMagCalPara, nullptr, &msg::kAatSetMagDefault},
    {kReadCalibration, 0, kDefaultCalibration}, ReplyRecord::kAatMagCal, kCalibrationFields,
    SetRules::kTracker);
const ParameterSet CMagCalDlg::kCompassOffsetSet = RecordSet(
    "Compass offset",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Tracker Compass Offset", "Compass offset");
    },
    {&msg::kAatReadCompassOffset, &msg::kAatSetCompassOffset},
    {kReadCompassOffset, kSetCompassOffset}, ReplyRecord::kAatCompassOffset, kCompassOffsetFields,
    SetRules::kTracker);

CMagCalDlg::CMagCalDlg(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(),
                    {&kSpeedSet, &kReadings, &kCalibration, &kCompassOffsetSet}) {}

// Every button takes the editable boxes in first. A Set takes them all or none and sends only
// when every box is good; Start, Read and Default carry no values and take the boxes that parse.
void CMagCalDlg::OnCommand(int id) {
    if (id == kBeginCal) {
        TakeValidBoxes();
        // The tracker fits a new calibration without reporting it.
        if (Send(msg::kAatStartMagCal)) Binding(kCalibration).Values().Outdated();
    }
    ParameterPage::OnCommand(id);
}

}  // namespace zephran
