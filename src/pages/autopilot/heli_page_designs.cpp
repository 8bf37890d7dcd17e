#include <array>
#include <string>

#include "pages/autopilot/dlg_heli_page.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using namespace ui;
using Swash = HeliSwashplate;
using Rc = HeliRcCalibrate;
using Mount = HeliMounting;

Control Spin(int id, int limit) {
    return Control{.id = id, .kind = ControlKind::Spin, .rangeMin = -limit, .rangeMax = limit};
}

// The swashplate: its type, rotation, the three rates with their signs, and the four servos'
// directions and trims.
constexpr int kSwashTypeGroup = 1800, kRotationLabel = 1810, kServoGroup = 1830;
constexpr int kFirstRateLabel = 1813, kRateStep = 4, kFirstTrimLabel = 1835;
constexpr int kRotationLimit = 180, kTrimLimit = 50;
constexpr std::array<const char*, 5> kSwashTypes{"H-1", "HR3(3S120)", "H-3(3S140)", "HE3(3S90)",
                                                 "H-4(4S90)"};
constexpr std::array<const char*, 3> kRates{"Rate-Aile:", "Rate-Elev:", "Rate-Pitch:"};
constexpr std::array<const char*, 4> kServos{"Aile", "Elev", "Pitch", "Aux"};

// One radio button a caption, numbered from firstId; returns their cells.
template <std::size_t N>
std::vector<LayoutItem> AddRadios(WindowTemplate& t, int firstId, int group,
                                  const std::array<const char*, N>& captions) {
    std::vector<LayoutItem> cells;
    for (std::size_t k = 0; k < N; ++k) {
        const int id = firstId + static_cast<int>(k);
        t.controls.push_back(Radio(id, group, captions[k]));
        cells.push_back(Item(id));
    }
    return cells;
}

WindowTemplate SwashplateTemplate() {
    WindowTemplate t;
    std::vector<LayoutItem> types = AddRadios(t, Swash::kTypeFirst, kSwashTypeGroup, kSwashTypes);
    t.controls.push_back(Label(kRotationLabel, "Rotation Value:"));
    t.controls.push_back(Edit(Swash::kRotation, 6));
    t.controls.push_back(Spin(Swash::kRotationSpin, kRotationLimit));
    std::vector<LayoutItem> values{Item(kRotationLabel), Stretch(), Item(Swash::kRotation),
                                   Item(Swash::kRotationSpin)};
    for (std::size_t k = 0; k < kRates.size(); ++k) {
        const int label = kFirstRateLabel + kRateStep * static_cast<int>(k);
        // Label, box, sign, percent.
        t.controls.push_back(Label(label, kRates[k]));
        t.controls.push_back(Edit(label + 1, 6));
        t.controls.push_back(ClickableLabel(label + 2, "+"));
        t.controls.push_back(Label(label + 3, "%"));
        values.insert(values.end(),
                      {Item(label), Item(label + 2), Item(label + 1), Item(label + 3)});
    }
    t.controls.push_back(GroupBox(kServoGroup, "Swash Servos Output Direction And Trim"));
    std::vector<LayoutItem> directions, names, trims;
    for (std::size_t k = 0; k < kServos.size(); ++k) {
        const int n = static_cast<int>(k);
        t.controls.push_back(ClickableLabel(Swash::kFirstDirection + n, "NOR"));
        t.controls.push_back(Label(kFirstTrimLabel + n, kServos[k]));
        t.controls.push_back(Edit(Swash::kFirstTrim + n, 4));
        t.controls.push_back(Spin(Swash::kFirstTrimSpin + n, kTrimLimit));
        directions.push_back(Item(Swash::kFirstDirection + n));
        names.push_back(Item(kFirstTrimLabel + n));
        trims.push_back(Row({Item(Swash::kFirstTrim + n), Item(Swash::kFirstTrimSpin + n)}));
    }
    std::vector<LayoutItem> servos = directions;
    servos.insert(servos.end(), names.begin(), names.end());
    servos.insert(servos.end(), trims.begin(), trims.end());
    t.controls.push_back(Button(Swash::kRead, "Read"));
    t.controls.push_back(Button(Swash::kWrite, "Write"));
    t.layout = Column({
        LeftRow(std::move(types)),
        Grid(4, std::move(values)),
        Group(kServoGroup, {Grid(4, std::move(servos))}),
        LeftRow({Item(Swash::kRead), Item(Swash::kWrite)}),
        Stretch(),
    });
    return t;
}

constexpr HeliValue kSwashplateValues[] = {
    {.box = Swash::kTypeFirst, .lastRadio = Swash::kTypeLast},
    {.box = Swash::kRotation},
    {.box = Swash::kAileRate, .real = true},
    {.box = Swash::kElevRate, .real = true},
    {.box = Swash::kPitchRate, .real = true},
    {.box = Swash::kFirstTrim},
    {.box = Swash::kFirstTrim + 1},
    {.box = Swash::kFirstTrim + 2},
    {.box = Swash::kFirstTrim + 3},
};
constexpr CaptionToggle kSwashplateToggles[] = {
    {Swash::kAileSign, "+", "-"},
    {Swash::kElevSign, "+", "-"},
    {Swash::kPitchSign, "+", "-"},
    {Swash::kFirstDirection, "NOR", "REV"},
    {Swash::kFirstDirection + 1, "NOR", "REV"},
    {Swash::kFirstDirection + 2, "NOR", "REV"},
    {Swash::kFirstDirection + 3, "NOR", "REV"},
};
constexpr SpinBuddy kSwashplateSpins[] = {
    {Swash::kRotationSpin, Swash::kRotation},
    {Swash::kFirstTrimSpin, Swash::kFirstTrim},
    {Swash::kFirstTrimSpin + 1, Swash::kFirstTrim + 1},
    {Swash::kFirstTrimSpin + 2, Swash::kFirstTrim + 2},
    {Swash::kFirstTrimSpin + 3, Swash::kFirstTrim + 3},
};

// The RC calibration: the ten input sticks with their readings in four groups, the outputs.
struct StickGroup {
    int id;
    const char* caption;
    std::vector<const char*> sticks;
};
constexpr int kFirstStickGroup = 1900;
constexpr std::array<const char*, 8> kOutputs{"A", "E", "R", "P", "T", "G", "AX1", "AX2"};

WindowTemplate RcCalibrateTemplate() {
    const std::array<StickGroup, 3> inputs{{
        {kFirstStickGroup, "Control Mode Sticks", {"BC", "HC"}},
        {kFirstStickGroup + 1, "Command Sticks(Input)", {"A", "E", "R", "P"}},
        {kFirstStickGroup + 2, "Other Sticks(Input)", {"T", "G", "AX1", "AX2"}},
    }};
    const int outputGroup = kFirstStickGroup + 3;
    WindowTemplate t;
    std::vector<LayoutItem> inputGroups;
    int channel = 0;
    for (const StickGroup& group : inputs) {
        t.controls.push_back(GroupBox(group.id, group.caption));
        std::vector<LayoutItem> boxes, sliders, labels;
        for (const char* stick : group.sticks) {
            t.controls.push_back(ReadOnlyEdit(Rc::kFirstInputBox + channel, 5));
            t.controls.push_back(VerticalSlider(Rc::kFirstInputSlider + channel));
            t.controls.push_back(Label(Rc::kFirstInputLabel + channel, stick));
            boxes.push_back(Item(Rc::kFirstInputBox + channel));
            sliders.push_back(Item(Rc::kFirstInputSlider + channel));
            labels.push_back(Item(Rc::kFirstInputLabel + channel));
            ++channel;
        }
        const int columns = static_cast<int>(group.sticks.size());
        boxes.insert(boxes.end(), sliders.begin(), sliders.end());
        boxes.insert(boxes.end(), labels.begin(), labels.end());
        inputGroups.push_back(Group(group.id, {Grid(columns, std::move(boxes))}));
    }
    inputGroups.push_back(Stretch());
    t.controls.push_back(GroupBox(outputGroup, "Output"));
    std::vector<LayoutItem> outputs, outputLabels;
    for (std::size_t k = 0; k < kOutputs.size(); ++k) {
        const int n = static_cast<int>(k);
        t.controls.push_back(VerticalSlider(Rc::kFirstOutputSlider + n));
        t.controls.push_back(Label(Rc::kFirstOutputLabel + n, kOutputs[k]));
        outputs.push_back(Item(Rc::kFirstOutputSlider + n));
        outputLabels.push_back(Item(Rc::kFirstOutputLabel + n));
    }
    outputs.insert(outputs.end(), outputLabels.begin(), outputLabels.end());
    t.controls.push_back(Label(Rc::kCalibrateLabel, "Calibrate:"));
    t.controls.push_back(Button(Rc::kStart, "Start"));
    t.layout = Column({
        Row(std::move(inputGroups)),
        LeftRow(
            {Group(outputGroup, {Grid(static_cast<int>(kOutputs.size()), std::move(outputs))})}),
        LeftRow({Item(Rc::kCalibrateLabel), Item(Rc::kStart)}),
        Stretch(),
    });
    return t;
}

constexpr auto kRcValues = [] {
    std::array<HeliValue, 10> values{};
    for (int k = 0; k < 10; ++k)
        values[static_cast<std::size_t>(k)] = {.box = Rc::kFirstInputBox + k};
    return values;
}();

// The mounting: the IMU's direction, and the IMU's and GPS antenna's offsets in cm.
constexpr int kDirectionGroup = 2000;
constexpr std::array<const char*, 4> kDirections{"X_向前", "X_向右", "X_向后", "X_向左"};
constexpr std::array<const char*, 3> kAxes{"X", "Y", "Z"};

// A group of X, Y and Z boxes; their labels take the ids just after the group's.
LayoutItem OffsetGroup(WindowTemplate& t, int group, const char* caption, int firstBox) {
    t.controls.push_back(GroupBox(group, caption));
    std::vector<LayoutItem> cells;
    for (std::size_t k = 0; k < kAxes.size(); ++k) {
        const int n = static_cast<int>(k);
        t.controls.push_back(Label(group + 1 + n, kAxes[k]));
        t.controls.push_back(Edit(firstBox + n, 8));
        cells.insert(cells.end(), {Item(group + 1 + n), Item(firstBox + n)});
    }
    return Group(group, {Grid(2, std::move(cells))});
}

WindowTemplate MountingTemplate() {
    WindowTemplate t;
    std::vector<LayoutItem> directions =
        AddRadios(t, Mount::kFirstDirection, kDirectionGroup, kDirections);
    LayoutItem imu = OffsetGroup(t, Mount::kImuGroup, "IMU安装偏移 (cm)", Mount::kFirstImuBox);
    LayoutItem gps = OffsetGroup(t, Mount::kGpsGroup, "GPS天线安装偏移(cm)", Mount::kFirstGpsBox);
    t.controls.push_back(Button(Mount::kRead, "Read"));
    t.controls.push_back(Button(Mount::kWrite, "Write"));
    t.layout = Column({
        LeftRow(std::move(directions)),
        LeftRow({std::move(imu), std::move(gps)}),
        LeftRow({Item(Mount::kRead), Item(Mount::kWrite)}),
        Stretch(),
    });
    return t;
}

WindowTemplate AutopilotTemplate() {
    WindowTemplate t;
    t.controls = {Button(HeliAutopilot::kRead, "Read"), Button(HeliAutopilot::kWrite, "Write")};
    t.layout =
        Column({LeftRow({Item(HeliAutopilot::kRead), Item(HeliAutopilot::kWrite)}), Stretch()});
    return t;
}

WindowTemplate EmptyTemplate() {
    return {{}, {}, Column({})};
}

constexpr int kSwashplateRequests[] = {Swash::kRead, Swash::kWrite};
constexpr int kRcRequests[] = {Rc::kStart};
constexpr int kMountingRequests[] = {Mount::kRead, Mount::kWrite};
constexpr int kAutopilotRequests[] = {HeliAutopilot::kRead, HeliAutopilot::kWrite};

}  // namespace

const HeliPageDesign kHeliSystemCheckDesign{EmptyTemplate, {}, {}, {}, {}};
const HeliPageDesign kHeliSwashplateDesign{SwashplateTemplate, kSwashplateValues,
                                           kSwashplateToggles, kSwashplateSpins,
                                           kSwashplateRequests};
const HeliPageDesign kHeliRcCalibrateDesign{RcCalibrateTemplate, kRcValues, {}, {}, kRcRequests};
const HeliPageDesign kHeliMountingDesign{MountingTemplate, {}, {}, {}, kMountingRequests};
const HeliPageDesign kHeliAutopilotDesign{AutopilotTemplate, {}, {}, {}, kAutopilotRequests};

}  // namespace zephran
