#include "pages/osd_tracker/dlg_aat_servo_set.h"

#include <string>

#include "link/messages.h"
#include "link/text_source.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using Dlg = CAATServoSet;

enum : int { kMotorGroup = 1550, kPowerOnGroup = 1551, kOffsetGroup = 1552, kPitchGroup = 1553 };
enum : int { kHorizontalGroup = 1554, kPidGroup = 1555 };

constexpr int kLimit = Dlg::kOffsetLimit;
using enum FieldType;

constexpr ParameterField kOffsetFields[] = {
    LabelledField("horizontalOffset", 0, Dlg::kHorizontalOffset, 1560,
                  "Horizontal offset:", "IDC_STATIC_HORI_OFFSET")
        .Typed(kI8)
        .Within(-kLimit, kLimit)
        .Wide(6),
    LabelledField("verticalOffset", 1, Dlg::kVerticalOffset, 1561,
                  "Vertical offset:", "IDC_STATIC_VERTI_OFFSET")
        .Typed(kI8)
        .Within(-kLimit, kLimit)
        .Wide(6),
};
constexpr ParameterField kStepFields[] = {
    LabelledField("step", 0, Dlg::kStep, 1562, "Step:", "IDC_STATIC_STEP").Initially(0.3),
};
constexpr ParameterField kYawPidFields[] = {
    LabelledField("p", 0, Dlg::kP, 1563, "P:", "IDC_STATIC_P").Initially(200),
    LabelledField("i", 4, Dlg::kI, 1564, "I:", "IDC_STATIC_I"),
    LabelledField("d", 8, Dlg::kD, 1565, "D:", "IDC_STATIC_D").Initially(100),
    LabelledField("integralThreshold", 12, Dlg::kIntegralThreshold, 1566,
                  "I threshold:", "IDC_STATIC_I_THRESHOLD")
        .Initially(3)
        .InUnit("°", 1568, "IDC_STATIC_DEGREE1"),
    LabelledField("integralLimit", 16, Dlg::kIntegralLimit, 1567, "I limit:", "IDC_STATIC_MAXI")
        .Initially(100)
        .InUnit("°", 1569, "IDC_STATIC_DEGREE2"),
};
constexpr ParameterField kServoGapFields[] = {
    LabelledField("servoGap", 0, Dlg::kServoGap, 1570,
                  "Minimum output point:", "IDC_STATIC_SERVO_GAP")
        .Typed(kI32),
};

ui::Control Spin(int id) {
    return ui::Control{.id = id,
                       .kind = ui::ControlKind::Spin,
                       .rangeMin = -Dlg::kOffsetLimit,
                       .rangeMax = Dlg::kOffsetLimit};
}

// Cells of a grid of three columns: a field without a unit gets an empty third cell.
std::vector<ui::LayoutItem> ThreeColumns(const ParameterSet& set, ui::WindowTemplate& t) {
    std::vector<ui::LayoutItem> cells = ParameterSetBinding::AddControls(set, t);
    std::vector<ui::LayoutItem> grid;
    std::size_t next = 0;
    for (const ParameterField& f : set.fields) {
        grid.push_back(cells[next++]);
        grid.push_back(cells[next++]);
        grid.push_back(f.unitLabel ? cells[next++] : ui::Stretch());
    }
    return grid;
}

// A group of a set: its boxes in a grid, its buttons in a row below.
ui::LayoutItem SetGroup(ui::WindowTemplate& t, int id, std::string caption, std::string key,
                        ui::LayoutItem grid, const ParameterSet& set) {
    ui::LayoutItem buttons = ui::LeftRow(ParameterSetBinding::AddButtons(set, t));
    return ui::AddGroup(t, id, std::move(caption), std::move(key),
                        {std::move(grid), std::move(buttons)});
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        Radio(Dlg::kPowerOnHorizontal, kPowerOnGroup, "Horizontal", "IDC_RADIO_HORI"),
        Radio(Dlg::kPowerOnVertical, kPowerOnGroup, "Vertical", "IDC_RADIO_VERTICAL"),
        Button(Dlg::kSetPowerOn, "Set", "m_ButtonSet"),
        Spin(Dlg::kHorizontalSpin),
        Spin(Dlg::kVerticalSpin),
    };
    LayoutItem powerOn = AddGroup(t, kPowerOnGroup, "Pitch axis power-on position",
                                  "IDC_STATIC_VERTICAL_POWERON_SET",
                                  {Item(Dlg::kPowerOnHorizontal), Item(Dlg::kPowerOnVertical),
                                   LeftRow({Item(Dlg::kSetPowerOn)})});
    // Each offset's spin button sits after its box.
    std::vector<LayoutItem> offsets = ParameterSetBinding::AddControls(Dlg::kOffsets, t);
    offsets.insert(offsets.begin() + 2, Item(Dlg::kHorizontalSpin));
    offsets.push_back(Item(Dlg::kVerticalSpin));
    LayoutItem offsetGroup =
        SetGroup(t, kOffsetGroup, "Pitch axis limit offsets", "IDC_STATIC_PITCH_OFFSET_GROUP",
                 Grid(3, std::move(offsets)), Dlg::kOffsets);
    LayoutItem pitch = SetGroup(t, kPitchGroup, "Pitch axis", "IDC_STATIC_PITCH_PARA_GROUP",
                                Grid(3, ThreeColumns(Dlg::kStepSet, t)), Dlg::kStepSet);
    LayoutItem pid = SetGroup(t, kPidGroup, "Horizontal axis PID", "IDC_STATIC_HORI_PID",
                              Grid(3, ThreeColumns(Dlg::kYawPid, t)), Dlg::kYawPid);
    LayoutItem servoGap = Grid(2, ParameterSetBinding::AddControls(Dlg::kServoGapSet, t));
    LayoutItem horizontal =
        AddGroup(t, kHorizontalGroup, "Horizontal axis", "IDC_STATIC_HORI_PARA_GROUP",
                 {std::move(pid), std::move(servoGap),
                  LeftRow(ParameterSetBinding::AddButtons(Dlg::kServoGapSet, t))});
    t.layout = Column({
        AddGroup(t, kMotorGroup, "Motor control settings", "IDC_STATIC_MOTOR_CONTROL_SET",
                 {Row({std::move(powerOn), std::move(offsetGroup), std::move(pitch), Stretch()}),
                  std::move(horizontal)}),
        Stretch(),
    });
    return t;
}

}  // namespace

// The tracker's sets: no leading byte, and their Read and Default take the boxes in first.
const ParameterSet CAATServoSet::kOffsets = RecordSet(
    "Pitch axis limit offsets",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Pitch Offsets", "Pitch axis limit offsets");
    },
    {&msg::DL_ID_AAT_SERVO_READ_OFFSET_SET, &msg::DL_ID_AAT_SERVO_SET_OFFSET,
     &msg::DL_ID_AAT_SERVO_SET_DEFAULT_OFFSET},
    {kReadOffsets, kSetOffsets, kDefaultOffsets}, ReplyRecord::kAatOffsets, kOffsetFields,
    SetRules::kTracker);
const ParameterSet CAATServoSet::kStepSet = RecordSet(
    "Pitch axis step",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Pitch Step", "Pitch axis step");
    },
    {&msg::DL_ID_AAT_SERVO_READ_STEP_SET, &msg::DL_ID_AAT_SERVO_SET_STEP}, {kReadStep, kSetStep},
    ReplyRecord::kAatStep, kStepFields, SetRules::kTracker);
const ParameterSet CAATServoSet::kYawPid = RecordSet(
    "Horizontal axis PID",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Horizontal PID", "Horizontal axis PID");
    },
    {&msg::DL_ID_AAT_SERVO_READ_YAW_PID_SET, &msg::DL_ID_AAT_SERVO_SET_YAW_PID,
     &msg::DL_ID_AAT_SERVO_SET_DEFAULT_YAW_PID},
    {kReadPid, kSetPid, kDefaultPid}, ReplyRecord::kAatYawPid, kYawPidFields, SetRules::kTracker);
// Its Read alone leaves the boxes as they are.
const ParameterSet CAATServoSet::kServoGapSet = RecordSet(
    "Horizontal axis minimum output point",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Horizontal Minimum Output",
                         "Horizontal axis minimum output point");
    },
    {&msg::DL_ID_AAT_SERVO_READ_SERVO_GAP, &msg::DL_ID_AAT_SERVO_SET_SERVO_GAP},
    {kReadServoGap, kSetServoGap}, ReplyRecord::kAatServoGap, kServoGapFields);

CAATServoSet::CAATServoSet(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(),
                    {&kOffsets, &kStepSet, &kYawPid, &kServoGapSet}) {}

// The spin buttons follow the offsets shown; they never take part in the commit.
void CAATServoSet::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(kPowerOnHorizontal, kPowerOnVertical, powerOn);
    ParameterPage::DoDataExchange(dx);
    if (!dx.Saving()) {
        SetPos(kHorizontalSpin, static_cast<int>(Set(0).values[0].number));
        SetPos(kVerticalSpin, static_cast<int>(Set(0).values[1].number));
    }
}

void CAATServoSet::OnCommand(int id) {
    if (id == kSetPowerOn) {
        if (!UpdateData(true)) return;
        const auto position = static_cast<std::uint8_t>(powerOn);
        Send(msg::DL_ID_AAT_SERVO_SET_POWERON_SET, {&position, 1});
        return;
    }
    ParameterPage::OnCommand(id);
}

// A spin step edits its offset's box as typing would.
void CAATServoSet::OnPositionChange(int id) {
    const int box = id == kHorizontalSpin ? kHorizontalOffset
                    : id == kVerticalSpin ? kVerticalOffset
                                          : 0;
    if (!box) return;
    SetDlgItemText(box, std::to_string(GetPos(id)));
    OnEditChange(box);
}

// Letting go of either spin button sends both offsets, so the tracker follows the adjustment.
void CAATServoSet::OnSpinRelease(int id) {
    if (id == kHorizontalSpin || id == kVerticalSpin) Set(0).Write();
}

}  // namespace zephran
