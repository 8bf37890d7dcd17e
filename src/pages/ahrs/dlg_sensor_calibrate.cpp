#include "pages/ahrs/dlg_sensor_calibrate.h"

#include <cmath>
#include <cstdio>
#include <span>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/text_source.h"
#include "records/ahrs_units.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using S = CDlgSensorCalibrate;

enum : int { kAccGroup = 1109, kGyroGroup = 1119, kGyroScaleGroup = 1127, kMagGroup = 1136 };
enum : int { kMagNormLabel = 1122 };
// The north trim's controls, all hidden.
enum : int { kNorthTrimGroup = 1137, kNorthTrimLabel = 1099, kDegreeLabel = 1100 };
enum : int { kNorthTrimRead = 1083, kNorthTrimWrite = 1084, kNorthTrimDefault = 1135 };

// kReply: set from the board's replies; kLive: also written by live frames while shown.
enum class Use { kReply, kLive, kEditable };

// Three boxes of one quantity, x, y, z, each with its own label. In the key (after
// "IDC_STATIC_") and the template caption of a label, '?' stands for the axis letter; the
// caption is followed by its group's unit. Live values are the page's own fields; the others
// are fields of the page's parameter sets.
struct Triple {
    const char* key;
    const char* caption;
    std::array<int, 3> labels;
    std::array<int, 3> boxes;
    S::Axes S::*live;
    Use use;
};

using enum Use;
constexpr Triple kAccCurrent{"ACC?_VALUE",       "Current ?",    {1110, 1113, 1117},
                             {1022, 1025, 1028}, &S::accCurrent, kLive};
constexpr Triple kAccOffset{"ACC?_OFFSET",      "Offset ?", {1112, 1114, 1118},
                            {1023, 1026, 1029}, nullptr,    kReply};
constexpr Triple kGyroCurrent{"GYRO?_VALUE",      "Current ?",     {1120, 1121, 1123},
                              {1024, 1027, 1030}, &S::gyroCurrent, kLive};
constexpr Triple kGyroBias{"GYRO?_OFFSET",     "Zero bias ?", {1124, 1125, 1126},
                           {1031, 1032, 1033}, nullptr,       kReply};
constexpr Triple kGyroScale{"GYRO?_SCALE",      "Scale ?", {1128, 1163, 1164},
                            {1034, 1035, 1036}, nullptr,   kEditable};
constexpr Triple kMagCurrent{"MAG?_VALUE",       "Current ?",    {1138, 1139, 1106},
                             {1148, 1149, 1150}, &S::magCurrent, kLive};
constexpr Triple kMagMinimum{"MAG?_MIN",         "Minimum ?", {1140, 1141, 1107},
                             {1151, 1152, 1153}, nullptr,     kReply};
constexpr Triple kMagMaximum{"MAG?_MAX",         "Maximum ?", {1142, 1143, 1108},
                             {1154, 1155, 1015}, nullptr,     kReply};
constexpr Triple kMagOffset{"MAG?_OFFSET",      "Offset ?", {1144, 1145, 1101},
                            {1156, 1157, 1020}, nullptr,    kReply};
constexpr Triple kMagScale{"MAG?_SCALE",       "Scale ?", {1146, 1147, 1102},
                           {1158, 1159, 1021}, nullptr,   kReply};

constexpr const Triple* kAccTriples[] = {&kAccCurrent, &kAccOffset};
constexpr const Triple* kGyroTriples[] = {&kGyroCurrent, &kGyroBias};
constexpr const Triple* kGyroScaleTriples[] = {&kGyroScale};
constexpr const Triple* kMagTriples[] = {&kMagCurrent, &kMagMinimum, &kMagMaximum, &kMagOffset,
                                         &kMagScale};
constexpr const Triple* kLiveTriples[] = {&kAccCurrent, &kGyroCurrent, &kMagCurrent};

// The three fields of a triple: floats of a record four bytes apart from offset.
constexpr std::array<ParameterField, 3> Fields(const Triple& t,
                                               std::array<std::string_view, 3> names,
                                               std::uint16_t offset,
                                               Conversion conversion = Conversion::kNone,
                                               double initial = 0, std::string_view unit = {},
                                               AddedTextOf description = nullptr) {
    std::array<ParameterField, 3> fields{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        fields[axis] = {.name = names[axis],
                        .offset = static_cast<std::uint16_t>(offset + 4 * axis),
                        .box = t.boxes[axis],
                        .label = t.labels[axis],
                        .initial = initial,
                        .unit = unit,
                        .conversion = conversion,
                        .readOnly = t.use != kEditable,
                        .description = description};
    }
    return fields;
}

template <std::size_t N>
constexpr std::array<ParameterField, 3 * N> Join(
    std::array<std::array<ParameterField, 3>, N> parts) {
    std::array<ParameterField, 3 * N> fields{};
    for (std::size_t k = 0; k < 3 * N; ++k)
        fields[k] = parts[k / 3][k % 3];
    return fields;
}

constexpr auto kGyroScaleFields = Fields(kGyroScale, {"gyroScaleX", "gyroScaleY", "gyroScaleZ"}, 13,
                                         Conversion::kNone, 1, {}, [](const TextSource& texts) {
                                             return AddedText(texts, "FieldTips", "Gyro Scale",
                                                              "Scale factor of the gyroscope axis");
                                         });
constexpr auto kAccOffsetFields = Fields(
    kAccOffset, {"accOffsetX", "accOffsetY", "accOffsetZ"}, 1, Conversion::kGravity, 0, "g",
    [](const TextSource& texts) {
        return AddedText(texts, "FieldTips", "Acc Offset",
                         "Offset of the accelerometer axis, found by the board's calibration");
    });
constexpr auto kGyroBiasFields = Fields(
    kGyroBias, {"gyroBiasX", "gyroBiasY", "gyroBiasZ"}, 1, Conversion::kDegrees, 0, "°/s",
    [](const TextSource& texts) {
        return AddedText(texts, "FieldTips", "Gyro Bias",
                         "Zero bias of the gyroscope axis, found by the board's calibration");
    });
constexpr auto kMagFields =
    Join<2>({Fields(kMagOffset, {"magOffsetX", "magOffsetY", "magOffsetZ"}, 1),
             Fields(kMagScale, {"magScaleX", "magScaleY", "magScaleZ"}, 13, Conversion::kNone, 1)});
// The extremes lie at the same offsets in the compass record and in the three-axis report.
constexpr auto kExtremeFields =
    Join<2>({Fields(kMagMinimum, {"magMinimumX", "magMinimumY", "magMinimumZ"}, 37),
             Fields(kMagMaximum, {"magMaximumX", "magMaximumY", "magMaximumZ"}, 25)});
constexpr ParameterField kNorthTrimFields[] = {
    {.name = "northTrim", .offset = 49, .box = S::kNorthTrim, .unit = "°", .readOnly = true}};

// A key or caption with the axis letter in place of its '?'.
std::string ForAxis(std::string text, int axis) {
    text[text.find('?')] = "XYZ"[axis];
    return text;
}

// Labels and boxes of a group's triples, one triple a row of the grid (label, box per axis),
// then the extra cells.
ui::LayoutItem TripleGrid(ui::WindowTemplate& t, std::span<const Triple* const> triples,
                          const std::string& unit, std::vector<ui::LayoutItem> extra = {}) {
    using namespace ui;
    std::vector<LayoutItem> cells;
    for (const Triple* entry : triples) {
        const Triple& triple = *entry;
        for (int axis = 0; axis < 3; ++axis) {
            t.controls.push_back(Label(triple.labels[axis], ForAxis(triple.caption, axis) + unit,
                                       "IDC_STATIC_" + ForAxis(triple.key, axis)));
            t.controls.push_back(triple.use == kEditable ? Edit(triple.boxes[axis], 8)
                                                         : ReadOnlyEdit(triple.boxes[axis], 8));
            cells.push_back(Item(triple.labels[axis]));
            cells.push_back(Item(triple.boxes[axis]));
        }
    }
    for (LayoutItem& item : extra)
        cells.push_back(std::move(item));
    return Grid(6, std::move(cells));
}

ui::Control Hidden(ui::Control control) {
    control.visible = false;
    return control;
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    const auto toggle = [&t](const S::Toggle& button) {
        t.controls.push_back(Button(button.id, button.beginText, button.beginKey));
    };
    const auto buttons = [](std::vector<LayoutItem> items) {
        items.push_back(Stretch());
        return Column(std::move(items));
    };

    t.controls.push_back(GroupBox(kAccGroup, "Accelerometer", "IDC_STATIC_SENSOR_CAL_ACC_PROM"));
    LayoutItem accGrid = TripleGrid(t, kAccTriples, " (g)");
    toggle(S::kAccCal);
    t.controls.push_back(Button(S::kAccRead, "Read", "IDC_BUTTON_ACC_READ_CAL"));
    t.controls.push_back(Button(S::kAccDefault, "Default", "IDC_BUTTON_ACC_SET_DEFAULT"));

    t.controls.push_back(GroupBox(kGyroGroup, "Gyroscope", "IDC_STATIC_SENSOR_CAL_GYRO_PROM"));
    LayoutItem gyroGrid = TripleGrid(t, kGyroTriples, " (°/s)");
    toggle(S::kGyroCal);
    t.controls.push_back(Button(S::kGyroRead, "Read", "IDC_BUTTON_GYRO_READ_CAL"));
    t.controls.push_back(Button(S::kGyroDefault, "Default", "IDC_BUTTON_GYRO_SET_DEFAULT"));

    t.controls.push_back(
        GroupBox(kGyroScaleGroup, "Gyroscope scale", "IDC_STATIC_SENSOR_GYRO_SCALE"));
    LayoutItem scaleGrid = TripleGrid(t, kGyroScaleTriples, "");
    t.controls.push_back(Button(S::kGyroReadScale, "Read", "IDC_BUTTON_GYRO_READ_SCALE"));
    t.controls.push_back(Button(S::kGyroWriteScale, "Write", "IDC_BUTTON_GYRO_SET_SCALE"));

    t.controls.push_back(GroupBox(kMagGroup, "Magnetometer", "IDC_STATIC_SENSOR_CAL_MAG_PROM"));
    t.controls.push_back(Label(kMagNormLabel, "Field strength", "IDC_STATIC_MAG_VALUE_NORM"));
    t.controls.push_back(ReadOnlyEdit(S::kMagNorm, 8));
    LayoutItem magGrid = TripleGrid(t, kMagTriples, "", {Item(kMagNormLabel), Item(S::kMagNorm)});
    toggle(S::kMagCal);
    t.controls.push_back(Button(S::kMagRead, "Read", "IDC_BUTTON_MAG_READ_CAL"));
    t.controls.push_back(Button(S::kMagDefault, "Default", "IDC_BUTTON_MAG_SET_DEFAULT"));
    t.controls.push_back(
        Hidden(Button(S::kMag3AxisCal.id, S::kMag3AxisCal.beginText, S::kMag3AxisCal.beginKey)));

    // The compass offset is kept on the page for the board's replies but not offered.
    t.controls.push_back(Hidden(GroupBox(kNorthTrimGroup, "Compass offset (north trim)",
                                         "IDC_STATIC_SENSOR_CAL_MAG_OFFSET_PROM")));
    t.controls.push_back(Hidden(Label(kNorthTrimLabel, "Offset", "IDC_STATIC_COMPASS_OFFSET")));
    t.controls.push_back(Hidden(ReadOnlyEdit(S::kNorthTrim, 8)));
    t.controls.push_back(Hidden(Label(kDegreeLabel, "°", "IDC_STATIC_DEGREE")));
    t.controls.push_back(Hidden(Button(kNorthTrimRead, "Read", "IDC_BUTTON_READ_COMPASS_OFFSET")));
    t.controls.push_back(Hidden(Button(kNorthTrimWrite, "Write", "IDC_BUTTON_SET_COMPASS_OFFSET")));
    t.controls.push_back(
        Hidden(Button(kNorthTrimDefault, "Default", "IDC_BUTTON_MAG_SET_DEFAULT5")));

    t.layout = Column({
        Group(kAccGroup, {Row({std::move(accGrid), buttons({Item(S::kAccToggle), Item(S::kAccRead),
                                                            Item(S::kAccDefault)})})}),
        Group(kGyroGroup,
              {Row({std::move(gyroGrid),
                    buttons({Item(S::kGyroToggle), Item(S::kGyroRead), Item(S::kGyroDefault)})})}),
        Group(kGyroScaleGroup, {Row({std::move(scaleGrid), buttons({Item(S::kGyroReadScale),
                                                                    Item(S::kGyroWriteScale)})})}),
        Group(kMagGroup, {Row({std::move(magGrid),
                               buttons({Item(S::kMagToggle), Item(S::kMagRead),
                                        Item(S::kMagDefault), Item(S::kMag3AxisToggle)})})}),
        Group(kNorthTrimGroup, {Row({Item(kNorthTrimLabel), Item(S::kNorthTrim), Item(kDegreeLabel),
                                     Item(kNorthTrimRead), Item(kNorthTrimWrite),
                                     Item(kNorthTrimDefault), Stretch()})}),
        Stretch(),
    });
    return t;
}

// The status prompts of the three-axis procedure's step codes.
struct StepPrompt {
    std::uint8_t step;
    const char* key;
};
constexpr StepPrompt kStepPrompts[] = {
    {0x10, "Horizontal Module"},
    {0x11, "Cal Horizontal"},
    {0x20, "Vertical Module"},
    {0x22, "Cal Vertical"},
};

std::string Fixed(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%6.3f", value);
    return text;
}

}  // namespace

// A compass calibration record, or the three-axis report with its extremes at the same places.
// Every set lies behind the board's leading byte.
const std::array<ParameterSet, 6> CDlgSensorCalibrate::kSets{{
    RecordSet(
        "Gyroscope scale",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Gyro Scale", "Gyroscope scale");
        },
        {&msg::DL_MINIAHRS_GYRO_READ_CAL_SCALE, &msg::DL_MINIAHRS_GYRO_SET_CAL_SCALE},
        {kGyroReadScale, kGyroWriteScale}, ReplyRecord::kGyroCal, kGyroScaleFields,
        SetRules::kLeadingByte),
    RecordSet(
        "Accelerometer offsets",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Acc Offsets", "Accelerometer offsets");
        },
        {&msg::DL_MINIAHRS_ACC_READ_CAL, nullptr, &msg::DL_MINIAHRS_ACC_SET_DEFAULT},
        {kAccRead, 0, kAccDefault}, ReplyRecord::kAccCal, kAccOffsetFields, SetRules::kLeadingByte),
    RecordSet(
        "Gyroscope zero bias",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Gyro Bias", "Gyroscope zero bias");
        },
        {&msg::DL_MINIAHRS_GYRO_READ_CAL, nullptr, &msg::DL_MINIAHRS_GYRO_SET_DEFAULT},
        {kGyroRead, 0, kGyroDefault}, ReplyRecord::kGyroCal, kGyroBiasFields,
        SetRules::kLeadingByte),
    RecordSet(
        "Compass offsets and scales",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Compass Offsets And Scales",
                             "Compass offsets and scales");
        },
        {&msg::DL_MINIAHRS_MAG_READ_CAL, nullptr, &msg::DL_MINIAHRS_MAG_SET_DEAFULT},
        {kMagRead, 0, kMagDefault}, ReplyRecord::kMagCal, kMagFields, SetRules::kLeadingByte),
    RecordSet(
        "Compass extremes",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Compass Extremes", "Compass extremes");
        },
        {}, {}, ReplyRecord::kMagCal, kExtremeFields, SetRules::kLeadingByte),
    RecordSet(
        "North trim",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "North Trim", "North trim");
        },
        {&msg::DL_MINIAHRS_MAG_NORTH_TRIM_READ}, {}, ReplyRecord::kMagCal, kNorthTrimFields,
        SetRules::kLeadingByte),
}};

CDlgSensorCalibrate::CDlgSensorCalibrate(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(),
                    {&kSets[0], &kSets[1], &kSets[2], &kSets[3], &kSets[4], &kSets[5]}) {}

// The sets first, the editable scales leading; then the live values. Only the scales are taken
// back: the read-only boxes show their fields, so a board's non-number there blocks nothing.
void CDlgSensorCalibrate::DoDataExchange(ui::DataExchange& dx) {
    ParameterPage::DoDataExchange(dx);
    for (const Triple* triple : kLiveTriples) {
        Axes& values = this->*triple->live;
        for (int axis = 0; axis < 3; ++axis)
            dx.Text(triple->boxes[axis], values[axis]);
    }
    dx.Text(kMagNorm, magNorm);
}

namespace {

constexpr std::array<const S::Toggle*, 4> kToggles{&S::kAccCal, &S::kGyroCal, &S::kMagCal,
                                                   &S::kMag3AxisCal};

std::size_t IndexOf(const S::Toggle& toggle) {
    std::size_t k = 0;
    while (kToggles[k] != &toggle)
        ++k;
    return k;
}

}  // namespace

void CDlgSensorCalibrate::Press(const Toggle& toggle) {
    const bool begin = GetDlgItemText(toggle.id) == Caption(toggle.beginKey, toggle.beginText);
    Send(begin ? *toggle.beginMsg : *toggle.stopMsg);
}

void CDlgSensorCalibrate::ShowRunning(const Toggle& toggle) {
    running_[IndexOf(toggle)] = true;
    SetDlgItemText(toggle.id, Caption(toggle.runningKey, toggle.runningText));
}

void CDlgSensorCalibrate::ShowStopped(const Toggle& toggle) {
    running_[IndexOf(toggle)] = false;
    SetDlgItemText(toggle.id, Caption(toggle.beginKey, toggle.beginText));
}

// A procedure the board runs keeps its running caption in the new language, so the next press
// still stops it.
void CDlgSensorCalibrate::ApplyTexts() {
    ParameterPage::ApplyTexts();
    for (const Toggle* toggle : kToggles) {
        if (running_[IndexOf(*toggle)]) ShowRunning(*toggle);
    }
}

void CDlgSensorCalibrate::OnCommand(int id) {
    for (const Toggle* toggle : kToggles) {
        if (toggle->id == id) return Press(*toggle);
    }
    ParameterPage::OnCommand(id);
}

void CDlgSensorCalibrate::TakeLiveValues(const AhrsLiveRecord& live) {
    accCurrent = {live.ax, live.ay, live.az};
    gyroCurrent = {live.gx, live.gy, live.gz};
    magCurrent = {live.mx, live.my, live.mz};
    magNorm = std::sqrt(live.mx * live.mx + live.my * live.my + live.mz * live.mz);
    if (!IsShown()) return;
    for (const Triple* triple : kLiveTriples) {
        for (int axis = 0; axis < 3; ++axis)
            SetDlgItemText(triple->boxes[axis], Fixed((this->*triple->live)[axis]));
    }
    SetDlgItemText(kMagNorm, Fixed(magNorm));
}

void CDlgSensorCalibrate::RegisterReplies(ReplyDispatcher& dispatcher) {
    // The dispatcher has copied each reply into its record before these run.
    const auto live = [this](const ReceiveArea&) { TakeLiveValues(host_.Records().ahrsLive); };
    dispatcher.Route(msg::DL_ID_AHRS_DATE_COME, live);
    dispatcher.Route(msg::DL_GPSINS_SENSORRAW, live);
    // Every reply ends with the boxes refreshed from the fields, shown or not.
    const auto route = [this, &dispatcher](const Message& message, auto update) {
        dispatcher.Route(message, [this, update](const ReceiveArea&) {
            update();
            UpdateData(false);
        });
    };
    ParameterPage::RegisterReplies(dispatcher);
    const auto stopped = [this](const Toggle& toggle, SetIndex set) {
        return [this, &toggle, set] {
            Set(set).TakeReport();
            ShowStopped(toggle);
        };
    };
    // A compass record long enough to carry the extremes reports them too.
    const auto extremes = [this, &dispatcher](const Message& message) {
        dispatcher.Route(message, [this](const ReceiveArea& frame) {
            if (frame.Length() < FieldExtent(kSets[kExtremesSet])) return;
            Set(kExtremesSet).TakeReport();
            UpdateData(false);
        });
    };
    route(msg::DL_MINIAHRS_ACC_BEGIN_CAL, [this] { ShowRunning(kAccCal); });
    route(msg::DL_MINIAHRS_ACC_STOP_CAL, stopped(kAccCal, kAccOffsetSet));
    route(msg::DL_MINIAHRS_GYGO_BEGIN_CAL, [this] { ShowRunning(kGyroCal); });
    route(msg::DL_MINIAHRS_GYRO_STOP_CAL, stopped(kGyroCal, kGyroBiasSet));
    route(msg::DL_MINIAHRS_MAG_BEGIN_CAL, [this] { ShowRunning(kMagCal); });
    route(msg::DL_MINIAHRS_MAG_STOP_CAL, stopped(kMagCal, kMagSet));
    extremes(msg::DL_MINIAHRS_MAG_STOP_CAL);
    extremes(msg::DL_MINIAHRS_MAG_READ_CAL);
    // Sent by the board on its own while the compass calibration runs.
    extremes(msg::DL_MINIAHRS_MAG_CAL_COF);

    route(msg::DL_MINIAHRS_MAG_3AXIS_START_CAL, [this] {
        host_.SetStatus(kStatusProgress, {}, 0);
        ShowRunning(kMag3AxisCal);
    });
    route(msg::DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL, [this] {
        host_.SetStatus(kStatusProgress, {}, 0);
        ShowStopped(kMag3AxisCal);
    });
    // The board has fitted new offsets and scales; it reports them only when read.
    route(msg::DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL, [this] {
        Set(kMagSet).Values().Outdated();
        host_.SetStatus(kStatusMain, host_.Texts().LangText("MessagBox", "Cal Complete"), 0);
        host_.SetStatus(kStatusProgress, {}, 0);
        ShowStopped(kMag3AxisCal);
    });
    // The progress report: extremes shown first, then the step's prompt and the progress.
    dispatcher.Route(msg::DL_MINIAHRS_MAG_3AXIS_CAL_COF, [this](const ReceiveArea&) {
        const Mag3AxisCalRecord& report = host_.Records().mag3AxisCal;
        Set(kExtremesSet).TakeReport(host_.Records().Bytes(ReplyRecord::kMag3AxisCal));
        UpdateData(false);
        for (const StepPrompt& prompt : kStepPrompts) {
            if (prompt.step == report.step) {
                host_.SetStatus(kStatusMain, host_.Texts().LangText("MessagBox", prompt.key), 0);
            }
        }
        host_.SetStatus(kStatusProgress, {}, report.progress);
    });
}

}  // namespace zephran
