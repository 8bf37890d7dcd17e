#include "pages/osd_tracker/dlg_calibrate.h"

#include <cmath>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "link/text_source.h"
#include "records/osd_cal_records.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using D = CCalibrateDlg;
using Quantity = D::Quantity;
using Points = D::Points;

enum : int { kOnePointGroup = 1400, kTwoPointGroup = 1429, kRssiGroup = 1420 };
enum : int { kRssiMinLabel = 1425, kRssiMaxLabel = 1426, kRssiMinUnit = 1427, kRssiMaxUnit = 1428 };
constexpr int kCurrentFirst = 1430, kVoltageFirst = 1460;

constexpr const char* kStartKey = "m_ButtonStartRSSICal";
constexpr const char* kStopKey = "m_ButtonStopRSSICal";
constexpr const char* kStartText = "Start RSSI Calibration";
constexpr const char* kStopText = "Stop RSSI Calibration";

// A one-point calibration's value: it goes out alone with its Set. Its label and unit sit beside
// the box.
constexpr ParameterField OnePoint(std::string_view name, int box, std::string_view caption,
                                  std::string_view key, double initial, std::string_view unit) {
    return {.name = name,
            .box = box,
            .label = box + 4,
            .caption = caption,
            .key = key,
            .initial = initial,
            .unit = unit,
            .unitLabel = box + 7,
            .width = 8};
}

constexpr ParameterField kCurrentZeroOffsetField[] = {
    OnePoint("currentZeroOffset", D::kCurrentZeroOffset,
             "Current zero offset:", "IDC_STATIC_CURRENTBIAS_PROMPT", 0.5, "A")};
constexpr ParameterField kCurrentReferenceField[] = {
    OnePoint("currentReference", D::kCurrentReference,
             "Current reference:", "IDC_STATIC_CURRENT_SCALE_PROMPT", 10, "A")};
constexpr ParameterField kVoltageReferenceField[] = {
    OnePoint("voltageReference", D::kVoltageReference,
             "Voltage reference:", "IDC_STATIC_VOLTAGE_CAL_PROMPT", 12.2, "V")};

// A two-point calibration's bias and scale: the pair computed and written with Set, or the
// read-only pair the board reported.
constexpr std::array<ParameterField, 2> BiasAndScale(int first, bool readBack,
                                                     std::string_view biasKey,
                                                     std::string_view scaleKey, double scale) {
    const int bias = first + (readBack ? D::kBiasReadLabel : D::kBiasLabel);
    return {{{.name = readBack ? "biasRead" : "bias",
              .box = bias + 1,
              .label = bias,
              .caption = "Bias:",
              .key = biasKey,
              .readOnly = readBack,
              .width = 8},
             {.name = readBack ? "scaleRead" : "scale",
              .offset = 4,
              .box = bias + 3,
              .label = bias + 2,
              .caption = "Scale:",
              .key = scaleKey,
              .initial = scale,
              .readOnly = readBack,
              .width = 8}}};
}

constexpr auto kCurrentCalFields =
    BiasAndScale(kCurrentFirst, false, "IDC_STATIC_BIAS1", "IDC_STATIC_SCALE1", 0.05);
constexpr auto kCurrentReadBackFields =
    BiasAndScale(kCurrentFirst, true, "IDC_STATIC_BIAS2", "IDC_STATIC_SCALE2", 0.05);
constexpr auto kVoltageCalFields =
    BiasAndScale(kVoltageFirst, false, "IDC_STATIC_BIAS3", "IDC_STATIC_SCALE3", 0);
constexpr auto kVoltageReadBackFields =
    BiasAndScale(kVoltageFirst, true, "IDC_STATIC_BIAS4", "IDC_STATIC_SCALE4", 0);

// The RSSI range the board found while the calibration ran, in volts or milliseconds as its
// input is set.
constexpr ParameterField RssiLimit(std::string_view name, int box, int label, int unitLabel,
                                   std::string_view caption, std::string_view key,
                                   std::string_view unitKey, std::uint16_t offset) {
    ParameterField f = ReportedField(name, offset, box, label, caption, key);
    f.unit = "V or ms";
    f.unitLabel = unitLabel;
    f.unitKey = unitKey;
    f.width = 8;
    return f;
}

constexpr ParameterField kRssiFields[] = {
    RssiLimit("rssiMin", D::kRssiMin, kRssiMinLabel, kRssiMinUnit,
              "Minimum:", "IDC_STATIC_RSSI_MIN", "IDC_STATIC_RSSI_MIN_UNIT", 0),
    RssiLimit("rssiMax", D::kRssiMax, kRssiMaxLabel, kRssiMaxUnit,
              "Maximum:", "IDC_STATIC_RSSI_MAX", "IDC_STATIC_RSSI_MAX_UNIT", 4),
};

// A set with a Set button that writes its values.
constexpr ParameterSet WrittenSet(std::string_view name, AddedTextOf caption, const Message& write,
                                  int button, std::span<const ParameterField> fields) {
    return {.name = name,
            .caption = caption,
            .requests = {.write = &write},
            .buttons = {.write = button},
            .fields = fields};
}

// A pair the board reports into the calibration record, with Read and, where it has one,
// Default.
constexpr ParameterSet ReportedSet(std::string_view name, AddedTextOf caption, const Message& read,
                                   int readButton, const Message* reset, int resetButton,
                                   std::span<const ParameterField> fields) {
    return {.name = name,
            .caption = caption,
            .requests = {.read = &read, .reset = reset},
            .buttons = {.read = readButton, .reset = resetButton},
            .record = ReplyRecord::kOsdCal,
            .fields = fields};
}

struct QuantityTexts {
    const char* caption;
    const char* key;
    std::array<const char*, 2> pointCaptions;
    std::array<const char*, 2> pointKeys;
};

constexpr std::array<QuantityTexts, 2> kQuantityTexts{{
    {"Current",
     "IDC_STATIC_CURRENT_PROM",
     {"Point A current (A):", "Point B current (A):"},
     {"IDC_STATIC_CURR_APOINT_PROM", "IDC_STATIC_CURR_BPOINT_PROM"}},
    {"Voltage",
     "IDC_STATIC_VOLTAGE_PROM",
     {"Point A voltage (V):", "Point B voltage (V):"},
     {"IDC_STATIC_VOLTAGE_APOINT_PROM", "IDC_STATIC_VOLTAGE_BPOINT_PROM"}},
}};

constexpr int kPointSlots = D::kLabelB - D::kLabelA;

void Append(std::vector<ui::LayoutItem>& cells, std::vector<ui::LayoutItem> more) {
    cells.insert(cells.end(), more.begin(), more.end());
}

// Each point: its label, known value, board reading with its unit, and Read; then the bias
// and scale to write with Set, those read back with Read, and Default.
ui::LayoutItem AddQuantity(ui::WindowTemplate& t, const Quantity& q, const QuantityTexts& texts) {
    using namespace ui;
    t.controls.push_back(GroupBox(q.Id(D::kGroupBox), texts.caption, texts.key));
    std::vector<LayoutItem> cells;
    for (int p = 0; p < 2; ++p) {
        const auto at = [&](D::Slot slot) { return q.Id(slot) + p * kPointSlots; };
        const auto k = static_cast<std::size_t>(p);
        t.controls.push_back(Label(at(D::kLabelA), texts.pointCaptions[k], texts.pointKeys[k]));
        t.controls.push_back(Edit(at(D::kKnownA), 8));
        t.controls.push_back(ReadOnlyEdit(at(D::kMeasuredA), 8));
        t.controls.push_back(Label(at(D::kUnitA), "V"));
        t.controls.push_back(Button(at(D::kReadA), "Read", "m_ButtonRead"));
        for (D::Slot slot : {D::kLabelA, D::kKnownA, D::kMeasuredA, D::kUnitA, D::kReadA})
            cells.push_back(Item(at(slot)));
    }
    Append(cells, ParameterSetBinding::AddControls(*q.calibration, t));
    Append(cells, ParameterSetBinding::AddButtons(*q.calibration, t));
    Append(cells, ParameterSetBinding::AddControls(*q.readBack, t));
    std::vector<LayoutItem> readAndDefault = ParameterSetBinding::AddButtons(*q.readBack, t);
    cells.push_back(readAndDefault.front());
    return Group(q.Id(D::kGroupBox),
                 {Grid(5, std::move(cells)), Row({Stretch(), readAndDefault.back()})});
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls.push_back(
        GroupBox(kOnePointGroup, "One-point calibration", "IDC_VOL_CURR_EASY_CAL_PROMPT"));
    std::vector<LayoutItem> onePoint;
    for (const ParameterSet* set :
         {&D::kCurrentZeroOffsetSet, &D::kCurrentReferenceSet, &D::kVoltageReferenceSet}) {
        Append(onePoint, ParameterSetBinding::AddControls(*set, t));
        Append(onePoint, ParameterSetBinding::AddButtons(*set, t));
    }

    t.controls.push_back(GroupBox(kRssiGroup, "RSSI calibration", "IDC_STATIC_RSSI_CAL_PROM"));
    std::vector<LayoutItem> rssi = ParameterSetBinding::AddControls(D::kRssiRange, t);
    std::vector<LayoutItem> rssiButtons = ParameterSetBinding::AddButtons(D::kRssiRange, t);
    t.controls.push_back(Button(D::kRssiToggle, kStartText, kStartKey));
    rssiButtons.push_back(Item(D::kRssiToggle));

    t.controls.push_back(
        GroupBox(kTwoPointGroup, "Two-point calibration", "IDC_STATIC_CURR_VOLT_CAL_2POINT_PROM"));
    std::vector<LayoutItem> quantities;
    for (std::size_t k = 0; k < D::kQuantities.size(); ++k)
        quantities.push_back(AddQuantity(t, D::kQuantities[k], kQuantityTexts[k]));
    quantities.push_back(Stretch());

    t.layout = Column({
        Row({Group(kOnePointGroup, {Grid(4, std::move(onePoint))}),
             Group(kRssiGroup, {Grid(3, std::move(rssi)), Row(std::move(rssiButtons))}),
             Stretch()}),
        Group(kTwoPointGroup, {Row(std::move(quantities))}),
        Stretch(),
    });
    return t;
}

// Fits bias + scale * x to the two points (xA, yA) and (xB, yB). The scale is rounded to
// float before the bias is derived from it, so the pair the board gets is self-consistent.
// Nothing is computed for equal inputs, nor when the result does not fit a float.
void Fit(float xA, float yA, float xB, float yB, ParameterSetBinding& calibration) {
    const double dx = static_cast<double>(xB) - xA;
    if (dx == 0) return;
    const auto scale = static_cast<float>((static_cast<double>(yB) - yA) / dx);
    const auto bias = static_cast<float>(yA - static_cast<double>(scale) * xA);
    if (!std::isfinite(scale) || !std::isfinite(bias)) return;
    calibration.Value("scale").number = scale;
    calibration.Value("bias").number = bias;
}

}  // namespace

const ParameterSet CCalibrateDlg::kCurrentZeroOffsetSet = WrittenSet(
    "Current zero offset",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Current Zero Offset", "Current zero offset");
    },
    msg::kSetCurrentBias, kSetCurrentZeroOffset, kCurrentZeroOffsetField);
const ParameterSet CCalibrateDlg::kCurrentReferenceSet = WrittenSet(
    "Current reference",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Current Reference", "Current reference");
    },
    msg::kOnePointCurrentCal, kSetCurrentReference, kCurrentReferenceField);
const ParameterSet CCalibrateDlg::kVoltageReferenceSet = WrittenSet(
    "Voltage reference",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Voltage Reference", "Voltage reference");
    },
    msg::kOnePointVoltageCal, kSetVoltageReference, kVoltageReferenceField);
const ParameterSet CCalibrateDlg::kCurrentCal = WrittenSet(
    "Current calibration",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Current Calibration", "Current calibration");
    },
    msg::kSetCurrentCal, kCurrentFirst + kSet, kCurrentCalFields);
const ParameterSet CCalibrateDlg::kVoltageCal = WrittenSet(
    "Voltage calibration",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Voltage Calibration", "Voltage calibration");
    },
    msg::kSetVoltageCal, kVoltageFirst + kSet, kVoltageCalFields);
const ParameterSet CCalibrateDlg::kCurrentReadBack = ReportedSet(
    "Current calibration on the board",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Board Current Calibration",
                         "Current calibration on the board");
    },
    msg::kReadCurrentCal, kCurrentFirst + kRead, &msg::kSetDefaultCurrentCal,
    kCurrentFirst + kDefault, kCurrentReadBackFields);
const ParameterSet CCalibrateDlg::kVoltageReadBack = ReportedSet(
    "Voltage calibration on the board",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "Board Voltage Calibration",
                         "Voltage calibration on the board");
    },
    msg::kReadVoltageCal, kVoltageFirst + kRead, &msg::kSetDefaultVoltageCal,
    kVoltageFirst + kDefault, kVoltageReadBackFields);
const ParameterSet CCalibrateDlg::kRssiRange = ReportedSet(
    "RSSI range",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "RSSI Range", "RSSI range");
    },
    msg::kReadRssiCal, kReadRssi, nullptr, 0, kRssiFields);

const std::array<CCalibrateDlg::Quantity, 2> CCalibrateDlg::kQuantities{{
    {kCurrentFirst, &msg::kReadCurrentCalAPoint, &msg::kReadCurrentCalBPoint, true,
     &CCalibrateDlg::current, &kCurrentCal, &kCurrentReadBack},
    {kVoltageFirst, &msg::kReadVoltageAPoint, &msg::kReadVoltageBPoint, false,
     &CCalibrateDlg::voltage, &kVoltageCal, &kVoltageReadBack},
}};

CCalibrateDlg::CCalibrateDlg(PageHost& host, Identity identity)
    : ParameterPage(
          host, std::move(identity), Template(),
          {&kCurrentZeroOffsetSet, &kCurrentReferenceSet, &kVoltageReferenceSet, &kCurrentCal,
           &kCurrentReadBack, &kVoltageCal, &kVoltageReadBack, &kRssiRange}) {}

// The one-point boxes first, then each quantity's points before its pairs, then the RSSI range.
void CCalibrateDlg::DoDataExchange(ui::DataExchange& dx) {
    for (const ParameterSet* set :
         {&kCurrentZeroOffsetSet, &kCurrentReferenceSet, &kVoltageReferenceSet})
        Binding(*set).Exchange(dx);
    for (const Quantity& q : kQuantities) {
        Points& v = this->*q.points;
        dx.Text(q.Id(kKnownA), v.knownA);
        dx.Text(q.Id(kMeasuredA), v.measuredA);
        dx.Text(q.Id(kKnownB), v.knownB);
        dx.Text(q.Id(kMeasuredB), v.measuredB);
        Binding(*q.calibration).Exchange(dx);
        Binding(*q.readBack).Exchange(dx);
    }
    Binding(kRssiRange).Exchange(dx);
}

// The caption alone says whether the calibration runs; it changes once the request is written,
// never when nothing went out.
void CCalibrateDlg::ToggleRssi() {
    const bool start = GetDlgItemText(kRssiToggle) == Caption(kStartKey, kStartText);
    if (!Send(start ? msg::kStartRssiCal : msg::kStopRssiCal)) return;
    rssiRunning_ = start;
    SetDlgItemText(kRssiToggle,
                   start ? Caption(kStopKey, kStopText) : Caption(kStartKey, kStartText));
}

// A running calibration keeps its stop caption in the new language, so the next press stops it.
void CCalibrateDlg::ApplyTexts() {
    ParameterPage::ApplyTexts();
    if (rssiRunning_) SetDlgItemText(kRssiToggle, Caption(kStopKey, kStopText));
}

// The current's point Read carries its known value: it goes out only when every box is good.
// The voltage's carries none and keeps what was typed.
void CCalibrateDlg::SendPointRead(const Quantity& q, const Message& message, float Points::*known) {
    if (!q.fromKnown) {
        TakeValidBoxes();
        Send(message);
        return;
    }
    if (!UpdateData(true)) return;
    const float value = (this->*q.points).*known;
    Send(message, {reinterpret_cast<const std::uint8_t*>(&value), sizeof value});
}

// The sets' buttons take the boxes in only to write; a point's Read takes them in for its known
// value.
void CCalibrateDlg::OnCommand(int id) {
    for (const Quantity& q : kQuantities) {
        if (id == q.Id(kReadA)) SendPointRead(q, *q.readA, &Points::knownA);
        if (id == q.Id(kReadB)) SendPointRead(q, *q.readB, &Points::knownB);
    }
    if (id == kRssiToggle) ToggleRssi();
    ParameterPage::OnCommand(id);
}

// The boxes that parse are taken in before the reading is stored, so known values typed since
// the last commit count; the fit uses whatever the other point holds. A reply shows no message.
void CCalibrateDlg::TakePoint(const Quantity& q, float Points::*measured, float value) {
    Points& v = this->*q.points;
    TakeValidBoxes();
    v.*measured = value;
    ParameterSetBinding& calibration = Binding(*q.calibration);
    const double scale = calibration.Value("scale").number;
    const double bias = calibration.Value("bias").number;
    if (q.fromKnown)
        Fit(v.knownA, v.measuredA, v.knownB, v.measuredB, calibration);
    else
        Fit(v.measuredA, v.knownA, v.measuredB, v.knownB, calibration);
    // A new fit is the user's to write, as if typed.
    if (calibration.Value("scale").number != scale || calibration.Value("bias").number != bias) {
        for (int box : calibration.Values().Boxes())
            OnEditChange(box);
    }
    UpdateData(false);
}

// The dispatcher logs every reply of the group and copies it into the calibration record; a
// reply shorter than its layout is taken for no reading at all and reaches no handler. The
// read-back pairs and the RSSI range are the sets' own replies.
void CCalibrateDlg::RegisterReplies(ReplyDispatcher& dispatcher) {
    ParameterPage::RegisterReplies(dispatcher);
    const auto route = [this, &dispatcher](const Message& message, const Quantity& q,
                                           float Points::*measured) {
        dispatcher.Route(message, [this, &q, measured](const ReceiveArea&) {
            TakePoint(q, measured, host_.Records().osdCal.first);
        });
    };
    for (const Quantity& q : kQuantities) {
        route(*q.readA, q, &Points::measuredA);
        route(*q.readB, q, &Points::measuredB);
    }
}

}  // namespace zephran
