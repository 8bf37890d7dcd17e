#include "pages/osd_tracker/dlg_calibrate.h"

#include <cmath>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "pages/osd_tracker/osd_cal_records.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {

const std::array<CCalibrateDlg::Quantity, 2> CCalibrateDlg::kQuantities{{
    {1430, &msg::kReadCurrentCalAPoint, &msg::kReadCurrentCalBPoint, &msg::kSetCurrentCal,
     &msg::kReadCurrentCal, &msg::kSetDefaultCurrentCal, true, &CCalibrateDlg::current},
    {1460, &msg::kReadVoltageAPoint, &msg::kReadVoltageBPoint, &msg::kSetVoltageCal,
     &msg::kReadVoltageCal, &msg::kSetDefaultVoltageCal, false, &CCalibrateDlg::voltage},
}};

namespace {

using Quantity = CCalibrateDlg::Quantity;

enum : int { kOnePointGroup = 1400, kTwoPointGroup = 1429, kRssiGroup = 1420 };
enum : int { kRssiMinLabel = 1425, kRssiMaxLabel = 1426, kRssiMinUnit = 1427, kRssiMaxUnit = 1428 };

constexpr const char* kStartKey = "m_ButtonStartRSSICal";
constexpr const char* kStopKey = "m_ButtonStopRSSICal";
constexpr const char* kStartText = "Start RSSI Calibration";
constexpr const char* kStopText = "Stop RSSI Calibration";

// A one-point calibration: its value goes out alone under msgId.
struct OnePoint {
    int box;
    int set;
    const Message* message;
    float CCalibrateDlg::*value;
    const char* key;
    const char* caption;
    const char* unit;
};

constexpr std::array<OnePoint, 3> kOnePoints{{
    {CCalibrateDlg::kCurrentZeroOffset, CCalibrateDlg::kSetCurrentZeroOffset, &msg::kSetCurrentBias,
     &CCalibrateDlg::currentZeroOffset, "IDC_STATIC_CURRENTBIAS_PROMPT",
     "Current zero offset:", "A"},
    {CCalibrateDlg::kCurrentReference, CCalibrateDlg::kSetCurrentReference,
     &msg::kOnePointCurrentCal, &CCalibrateDlg::currentReference, "IDC_STATIC_CURRENT_SCALE_PROMPT",
     "Current reference:", "A"},
    {CCalibrateDlg::kVoltageReference, CCalibrateDlg::kSetVoltageReference,
     &msg::kOnePointVoltageCal, &CCalibrateDlg::voltageReference, "IDC_STATIC_VOLTAGE_CAL_PROMPT",
     "Voltage reference:", "V"},
}};

// The label and unit of a one-point box sit beside it.
int LabelOf(const OnePoint& p) {
    return p.box + 4;
}
int UnitOf(const OnePoint& p) {
    return p.box + 7;
}

struct QuantityTexts {
    const char* caption;
    const char* key;
    std::array<const char*, 2> pointCaptions;
    std::array<const char*, 2> pointKeys;
    char writeSuffix;  // of IDC_STATIC_BIASn and IDC_STATIC_SCALEn; the read-back's is next
};

constexpr std::array<QuantityTexts, 2> kQuantityTexts{{
    {"Current",
     "IDC_STATIC_CURRENT_PROM",
     {"Point A current (A):", "Point B current (A):"},
     {"IDC_STATIC_CURR_APOINT_PROM", "IDC_STATIC_CURR_BPOINT_PROM"},
     '1'},
    {"Voltage",
     "IDC_STATIC_VOLTAGE_PROM",
     {"Point A voltage (V):", "Point B voltage (V):"},
     {"IDC_STATIC_VOLTAGE_APOINT_PROM", "IDC_STATIC_VOLTAGE_BPOINT_PROM"},
     '3'},
}};

constexpr int kPointSlots = CCalibrateDlg::kLabelB - CCalibrateDlg::kLabelA;

// Each point: its label, known value, board reading with its unit, and Read; then the bias
// and scale to write with Set, those read back with Read, and Default.
ui::LayoutItem AddQuantity(ui::WindowTemplate& t, const Quantity& q, const QuantityTexts& texts) {
    using namespace ui;
    using D = CCalibrateDlg;
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
    const std::string write(1, texts.writeSuffix);
    const std::string read(1, static_cast<char>(texts.writeSuffix + 1));
    t.controls.push_back(Label(q.Id(D::kBiasLabel), "Bias:", "IDC_STATIC_BIAS" + write));
    t.controls.push_back(Edit(q.Id(D::kBias), 8));
    t.controls.push_back(Label(q.Id(D::kScaleLabel), "Scale:", "IDC_STATIC_SCALE" + write));
    t.controls.push_back(Edit(q.Id(D::kScale), 8));
    t.controls.push_back(Button(q.Id(D::kSet), "Set", "m_ButtonSet"));
    t.controls.push_back(Label(q.Id(D::kBiasReadLabel), "Bias:", "IDC_STATIC_BIAS" + read));
    t.controls.push_back(ReadOnlyEdit(q.Id(D::kBiasRead), 8));
    t.controls.push_back(Label(q.Id(D::kScaleReadLabel), "Scale:", "IDC_STATIC_SCALE" + read));
    t.controls.push_back(ReadOnlyEdit(q.Id(D::kScaleRead), 8));
    t.controls.push_back(Button(q.Id(D::kRead), "Read", "m_ButtonRead"));
    t.controls.push_back(Button(q.Id(D::kDefault), "Default", "m_ButtonSetDefault"));
    for (int id = q.Id(D::kBiasLabel); id <= q.Id(D::kRead); ++id)
        cells.push_back(Item(id));
    return Group(q.Id(D::kGroupBox),
                 {Grid(5, std::move(cells)), Row({Stretch(), Item(q.Id(D::kDefault))})});
}

ui::WindowTemplate Template() {
    using namespace ui;
    using D = CCalibrateDlg;
    WindowTemplate t;
    t.controls.push_back(
        GroupBox(kOnePointGroup, "One-point calibration", "IDC_VOL_CURR_EASY_CAL_PROMPT"));
    std::vector<LayoutItem> onePoint;
    for (const OnePoint& p : kOnePoints) {
        t.controls.push_back(Label(LabelOf(p), p.caption, p.key));
        t.controls.push_back(Edit(p.box, 8));
        t.controls.push_back(Label(UnitOf(p), p.unit));
        t.controls.push_back(Button(p.set, "Set", "m_ButtonSet"));
        for (int id : {LabelOf(p), p.box, UnitOf(p), p.set})
            onePoint.push_back(Item(id));
    }

    t.controls.push_back(GroupBox(kRssiGroup, "RSSI calibration", "IDC_STATIC_RSSI_CAL_PROM"));
    t.controls.push_back(Label(kRssiMinLabel, "Minimum:", "IDC_STATIC_RSSI_MIN"));
    t.controls.push_back(ReadOnlyEdit(D::kRssiMin, 8));
    t.controls.push_back(Label(kRssiMinUnit, "V or ms", "IDC_STATIC_RSSI_MIN_UNIT"));
    t.controls.push_back(Label(kRssiMaxLabel, "Maximum:", "IDC_STATIC_RSSI_MAX"));
    t.controls.push_back(ReadOnlyEdit(D::kRssiMax, 8));
    t.controls.push_back(Label(kRssiMaxUnit, "V or ms", "IDC_STATIC_RSSI_MAX_UNIT"));
    t.controls.push_back(Button(D::kReadRssi, "Read", "m_ButtonRead"));
    t.controls.push_back(Button(D::kRssiToggle, kStartText, kStartKey));

    t.controls.push_back(
        GroupBox(kTwoPointGroup, "Two-point calibration", "IDC_STATIC_CURR_VOLT_CAL_2POINT_PROM"));
    std::vector<LayoutItem> quantities;
    for (std::size_t k = 0; k < D::kQuantities.size(); ++k)
        quantities.push_back(AddQuantity(t, D::kQuantities[k], kQuantityTexts[k]));
    quantities.push_back(Stretch());

    t.layout = Column({
        Row({Group(kOnePointGroup, {Grid(4, std::move(onePoint))}),
             Group(kRssiGroup,
                   {Grid(3, {Item(kRssiMinLabel), Item(D::kRssiMin), Item(kRssiMinUnit),
                             Item(kRssiMaxLabel), Item(D::kRssiMax), Item(kRssiMaxUnit)}),
                    Row({Item(D::kReadRssi), Item(D::kRssiToggle)})}),
             Stretch()}),
        Group(kTwoPointGroup, {Row(std::move(quantities))}),
        Stretch(),
    });
    return t;
}

// Fits bias + scale * x to the two points (xA, yA) and (xB, yB). The scale is rounded to
// float before the bias is derived from it, so the pair the board gets is self-consistent.
// Nothing is computed for equal inputs, nor when the result does not fit a float.
void Fit(float xA, float yA, float xB, float yB, float& bias, float& scale) {
    const double dx = static_cast<double>(xB) - xA;
    if (dx == 0) return;
    const auto newScale = static_cast<float>((static_cast<double>(yB) - yA) / dx);
    const auto newBias = static_cast<float>(yA - static_cast<double>(newScale) * xA);
    if (!std::isfinite(newScale) || !std::isfinite(newBias)) return;
    scale = newScale;
    bias = newBias;
}

}  // namespace

CCalibrateDlg::CCalibrateDlg(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

void CCalibrateDlg::DoDataExchange(ui::DataExchange& dx) {
    for (const OnePoint& p : kOnePoints)
        dx.Text(p.box, this->*p.value);
    for (const Quantity& q : kQuantities) {
        TwoPoint& v = this->*q.values;
        dx.Text(q.Id(kKnownA), v.knownA);
        dx.Text(q.Id(kMeasuredA), v.measuredA);
        dx.Text(q.Id(kKnownB), v.knownB);
        dx.Text(q.Id(kMeasuredB), v.measuredB);
        dx.Text(q.Id(kBias), v.bias);
        dx.Text(q.Id(kScale), v.scale);
        dx.Text(q.Id(kBiasRead), v.biasRead);
        dx.Text(q.Id(kScaleRead), v.scaleRead);
    }
    dx.Text(kRssiMin, rssiMin);
    dx.Text(kRssiMax, rssiMax);
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
    Page::ApplyTexts();
    if (rssiRunning_) SetDlgItemText(kRssiToggle, Caption(kStopKey, kStopText));
}

void CCalibrateDlg::SendPointRead(const Quantity& q, const Message& message,
                                  float TwoPoint::*known) {
    UpdateData(true);
    if (!q.fromKnown) {
        Send(message);
        return;
    }
    const float value = (this->*q.values).*known;
    Send(message, {reinterpret_cast<const std::uint8_t*>(&value), sizeof value});
}

void CCalibrateDlg::OnCommand(int id) {
    for (const OnePoint& p : kOnePoints) {
        if (id != p.set) continue;
        UpdateData(true);
        const float value = this->*p.value;
        Send(*p.message, {reinterpret_cast<const std::uint8_t*>(&value), sizeof value});
    }
    for (const Quantity& q : kQuantities) {
        TwoPoint& v = this->*q.values;
        if (id == q.Id(kReadA)) SendPointRead(q, *q.readA, &TwoPoint::knownA);
        if (id == q.Id(kReadB)) SendPointRead(q, *q.readB, &TwoPoint::knownB);
        if (id == q.Id(kSet)) {
            UpdateData(true);
            const OsdCalRecord record{v.bias, v.scale};
            Send(*q.write, {reinterpret_cast<const std::uint8_t*>(&record), sizeof record});
        }
        if (id == q.Id(kRead)) Send(*q.readBack);
        if (id == q.Id(kDefault)) Send(*q.setDefault);
    }
    if (id == kReadRssi) Send(msg::kReadRssiCal);
    if (id == kRssiToggle) ToggleRssi();
}

// The boxes are taken in before the reading is stored, so known values typed since the last
// commit count; the fit uses whatever the other point holds.
void CCalibrateDlg::TakePoint(const Quantity& q, float TwoPoint::*measured, float value) {
    TwoPoint& v = this->*q.values;
    UpdateData(true);
    v.*measured = value;
    if (q.fromKnown)
        Fit(v.knownA, v.measuredA, v.knownB, v.measuredB, v.bias, v.scale);
    else
        Fit(v.measuredA, v.knownA, v.measuredB, v.knownB, v.bias, v.scale);
    UpdateData(false);
}

// The dispatcher logs every reply of the group and copies it into the calibration record; a
// reply shorter than its layout is taken for no reading at all and reaches no handler.
void CCalibrateDlg::RegisterReplies(ReplyDispatcher& dispatcher) {
    const auto route = [this, &dispatcher](const Message& message, auto apply) {
        dispatcher.Route(message, [this, apply](const ReceiveArea&) {
            const OsdCalRecord& record = host_.Records().osdCal;
            apply(record.first, record.second);
        });
    };
    for (const Quantity& q : kQuantities) {
        route(*q.readA,
              [this, &q](float value, float) { TakePoint(q, &TwoPoint::measuredA, value); });
        route(*q.readB,
              [this, &q](float value, float) { TakePoint(q, &TwoPoint::measuredB, value); });
        route(*q.readBack, [this, &q](float bias, float scale) {
            TwoPoint& v = this->*q.values;
            v.biasRead = bias;
            v.scaleRead = scale;
            UpdateData(false);
        });
    }
    route(msg::kReadRssiCal, [this](float minimum, float maximum) {
        rssiMin = minimum;
        rssiMax = maximum;
        UpdateData(false);
    });
}

}  // namespace zephran
