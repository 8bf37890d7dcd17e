#include "pages/osd_tracker/dlg_aat_servo_set.h"

#include <array>
#include <cstring>
#include <string>

#include "dispatch/reply_dispatcher.h"
#include "pages/osd_tracker/aat_servo_records.h"
#include "pages/record_copy.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using Dlg = CAATServoSet;
using Payload = Dlg::Payload;

enum : int {
    kMotorGroup = 1550,
    kPowerOnGroup = 1551,
    kOffsetGroup = 1552,
    kPitchGroup = 1553,
    kHorizontalGroup = 1554,
    kPidGroup = 1555,
    kHorizontalOffsetLabel = 1560,
    kVerticalOffsetLabel = 1561,
    kStepLabel = 1562,
    kPLabel = 1563,
    kILabel = 1564,
    kDLabel = 1565,
    kIntegralThresholdLabel = 1566,
    kIntegralLimitLabel = 1567,
    kIntegralThresholdUnit = 1568,
    kIntegralLimitUnit = 1569,
    kServoGapLabel = 1570,
};

enum : std::uint8_t {
    kSetPowerOnMsg = 17,
    kReadOffsetsMsg = 18,
    kSetOffsetsMsg = 19,
    kDefaultOffsetsMsg = 20,
    kReadStepMsg = 21,
    kSetStepMsg = 22,
    kReadPidMsg = 23,
    kSetPidMsg = 24,
    kDefaultPidMsg = 25,
    kReadServoGapMsg = 32,
    kSetServoGapMsg = 33,
};

// A limit offset: its box and the spin button beside it.
struct Offset {
    int label;
    int box;
    int spin;
    const char* caption;
    const char* key;
    int Dlg::*value;
};

constexpr std::array<Offset, 2> kOffsets{{
    {kHorizontalOffsetLabel, Dlg::kHorizontalOffset, Dlg::kHorizontalSpin,
     "Horizontal offset:", "IDC_STATIC_HORI_OFFSET", &Dlg::horizontalOffset},
    {kVerticalOffsetLabel, Dlg::kVerticalOffset, Dlg::kVerticalSpin,
     "Vertical offset:", "IDC_STATIC_VERTI_OFFSET", &Dlg::verticalOffset},
}};

// A float box with its label and, for the integral bounds, its unit.
struct FloatBox {
    int label;
    int box;
    int unit;  // 0 without one
    const char* caption;
    const char* key;
    const char* unitKey;
    float Dlg::*value;
};

constexpr FloatBox kStepBox{
    kStepLabel, Dlg::kStep, 0, "Step:", "IDC_STATIC_STEP", nullptr, &Dlg::step};

constexpr std::array<FloatBox, 5> kPidBoxes{{
    {kPLabel, Dlg::kP, 0, "P:", "IDC_STATIC_P", nullptr, &Dlg::p},
    {kILabel, Dlg::kI, 0, "I:", "IDC_STATIC_I", nullptr, &Dlg::i},
    {kDLabel, Dlg::kD, 0, "D:", "IDC_STATIC_D", nullptr, &Dlg::d},
    {kIntegralThresholdLabel, Dlg::kIntegralThreshold, kIntegralThresholdUnit,
     "I threshold:", "IDC_STATIC_I_THRESHOLD", "IDC_STATIC_DEGREE1", &Dlg::integralThreshold},
    {kIntegralLimitLabel, Dlg::kIntegralLimit, kIntegralLimitUnit, "I limit:", "IDC_STATIC_MAXI",
     "IDC_STATIC_DEGREE2", &Dlg::integralLimit},
}};

enum class Action { kRead, kSet, kDefault };

// One button and the request it sends.
struct Command {
    int button;
    Action action;
    std::uint8_t msgId;
    Payload payload;
};

constexpr std::array<Command, 11> kCommands{{
    {Dlg::kSetPowerOn, Action::kSet, kSetPowerOnMsg, Payload::kPowerOn},
    {Dlg::kReadOffsets, Action::kRead, kReadOffsetsMsg, Payload::kNone},
    {Dlg::kSetOffsets, Action::kSet, kSetOffsetsMsg, Payload::kOffsets},
    {Dlg::kDefaultOffsets, Action::kDefault, kDefaultOffsetsMsg, Payload::kNone},
    {Dlg::kReadStep, Action::kRead, kReadStepMsg, Payload::kNone},
    {Dlg::kSetStep, Action::kSet, kSetStepMsg, Payload::kStep},
    {Dlg::kReadPid, Action::kRead, kReadPidMsg, Payload::kNone},
    {Dlg::kSetPid, Action::kSet, kSetPidMsg, Payload::kYawPid},
    {Dlg::kDefaultPid, Action::kDefault, kDefaultPidMsg, Payload::kNone},
    {Dlg::kReadServoGap, Action::kRead, kReadServoGapMsg, Payload::kNone},
    {Dlg::kSetServoGap, Action::kSet, kSetServoGapMsg, Payload::kServoGap},
}};

ui::Control ButtonFor(const Command& c) {
    switch (c.action) {
        case Action::kRead:
            return ui::Button(c.button, "Read", "m_ButtonRead");
        case Action::kSet:
            return ui::Button(c.button, "Set", "m_ButtonSet");
        case Action::kDefault:
            break;
    }
    return ui::Button(c.button, "Default", "m_ButtonSetDefault");
}

ui::Control Spin(int id) {
    return ui::Control{.id = id,
                       .kind = ui::ControlKind::Spin,
                       .rangeMin = -Dlg::kOffsetLimit,
                       .rangeMax = Dlg::kOffsetLimit};
}

// The label, box and unit cell of a float box.
std::vector<ui::LayoutItem> AddFloatBox(ui::WindowTemplate& t, const FloatBox& f) {
    using namespace ui;
    t.controls.push_back(Label(f.label, f.caption, f.key));
    t.controls.push_back(Edit(f.box, 10));
    if (!f.unit) return {Item(f.label), Item(f.box), Stretch()};
    t.controls.push_back(Label(f.unit, "°", f.unitKey));
    return {Item(f.label), Item(f.box), Item(f.unit)};
}

ui::LayoutItem Buttons(std::initializer_list<int> ids) {
    std::vector<ui::LayoutItem> items;
    for (int id : ids)
        items.push_back(ui::Item(id));
    items.push_back(ui::Stretch());
    return ui::Row(std::move(items));
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        GroupBox(kMotorGroup, "Motor control settings", "IDC_STATIC_MOTOR_CONTROL_SET"),
        GroupBox(kPowerOnGroup, "Pitch axis power-on position", "IDC_STATIC_VERTICAL_POWERON_SET"),
        Radio(Dlg::kPowerOnHorizontal, kPowerOnGroup, "Horizontal", "IDC_RADIO_HORI"),
        Radio(Dlg::kPowerOnVertical, kPowerOnGroup, "Vertical", "IDC_RADIO_VERTICAL"),
        GroupBox(kOffsetGroup, "Pitch axis limit offsets", "IDC_STATIC_PITCH_OFFSET_GROUP"),
        GroupBox(kPitchGroup, "Pitch axis", "IDC_STATIC_PITCH_PARA_GROUP"),
        GroupBox(kHorizontalGroup, "Horizontal axis", "IDC_STATIC_HORI_PARA_GROUP"),
        GroupBox(kPidGroup, "Horizontal axis PID", "IDC_STATIC_HORI_PID"),
        Label(kServoGapLabel, "Minimum output point:", "IDC_STATIC_SERVO_GAP"),
        Edit(Dlg::kServoGap, 10),
    };
    for (const Command& c : kCommands)
        t.controls.push_back(ButtonFor(c));

    std::vector<LayoutItem> offsets;
    for (const Offset& o : kOffsets) {
        t.controls.push_back(Label(o.label, o.caption, o.key));
        t.controls.push_back(Edit(o.box, 6));
        t.controls.push_back(Spin(o.spin));
        for (int id : {o.label, o.box, o.spin})
            offsets.push_back(Item(id));
    }
    std::vector<LayoutItem> pid;
    for (const FloatBox& f : kPidBoxes) {
        for (LayoutItem& cell : AddFloatBox(t, f))
            pid.push_back(std::move(cell));
    }

    t.layout = Column({
        Group(
            kMotorGroup,
            {
                Row({Group(kPowerOnGroup,
                           {Item(Dlg::kPowerOnHorizontal), Item(Dlg::kPowerOnVertical),
                            Buttons({Dlg::kSetPowerOn})}),
                     Group(kOffsetGroup,
                           {Grid(3, std::move(offsets)),
                            Buttons({Dlg::kReadOffsets, Dlg::kSetOffsets, Dlg::kDefaultOffsets})}),
                     Group(kPitchGroup, {Grid(3, AddFloatBox(t, kStepBox)),
                                         Buttons({Dlg::kReadStep, Dlg::kSetStep})}),
                     Stretch()}),
                Group(kHorizontalGroup,
                      {Group(kPidGroup, {Grid(3, std::move(pid)),
                                         Buttons({Dlg::kReadPid, Dlg::kSetPid, Dlg::kDefaultPid})}),
                       Grid(2, {Item(kServoGapLabel), Item(Dlg::kServoGap)}),
                       Buttons({Dlg::kReadServoGap, Dlg::kSetServoGap})}),
            }),
        Stretch(),
    });
    return t;
}

template <typename T>
std::vector<std::uint8_t> BytesOf(const T& value) {
    std::vector<std::uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// A read reply shorter than its layout carries no settings and changes nothing; bytes past the
// layout are ignored.
template <typename Record, typename Apply>
void RouteReply(ReplyDispatcher& dispatcher, std::uint8_t msgId, Apply apply) {
    dispatcher.Route(
        kAatGroup, msgId,
        [apply](const ReceiveArea& frame) {
            if (frame.Length() < sizeof(Record)) return;
            Record record{};
            CopyPayload(record, frame);
            apply(record);
        },
        false);
}

}  // namespace

CAATServoSet::CAATServoSet(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

// The spin buttons follow the offsets shown; they never take part in the commit.
void CAATServoSet::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(kPowerOnHorizontal, kPowerOnVertical, powerOn);
    for (const Offset& o : kOffsets) {
        dx.Text(o.box, this->*o.value, -kOffsetLimit, kOffsetLimit);
        if (!dx.Saving()) SetPos(o.spin, this->*o.value);
    }
    dx.Text(kStepBox.box, this->*kStepBox.value);
    for (const FloatBox& f : kPidBoxes)
        dx.Text(f.box, this->*f.value);
    dx.Text(kServoGap, servoGap);
}

std::vector<std::uint8_t> CAATServoSet::Build(Payload payload) const {
    switch (payload) {
        case Payload::kNone:
            break;
        case Payload::kPowerOn:
            return {static_cast<std::uint8_t>(powerOn)};
        case Payload::kOffsets:
            return BytesOf(AatOffsetRecord{static_cast<std::int8_t>(horizontalOffset),
                                           static_cast<std::int8_t>(verticalOffset)});
        case Payload::kStep:
            return BytesOf(step);
        case Payload::kYawPid:
            return BytesOf(AatYawPidRecord{p, i, d, integralThreshold, integralLimit});
        case Payload::kServoGap:
            return BytesOf(static_cast<std::int32_t>(servoGap));
    }
    return {};
}

// The values go out as they stand after the commit, even when a box did not parse.
void CAATServoSet::Request(std::uint8_t msgId, Payload payload) {
    const std::vector<std::uint8_t> bytes = Build(payload);
    Send(kAatGroup, msgId, bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

// Every button but the minimum output point's Read commits the boxes first.
void CAATServoSet::OnCommand(int id) {
    for (const Command& c : kCommands) {
        if (c.button != id) continue;
        if (id != kReadServoGap) UpdateData(true);
        Request(c.msgId, c.payload);
    }
}

void CAATServoSet::OnPositionChange(int id) {
    for (const Offset& o : kOffsets) {
        if (o.spin == id) SetDlgItemText(o.box, std::to_string(GetPos(id)));
    }
}

// Letting go of either spin button sends both offsets, so the tracker follows the adjustment.
void CAATServoSet::OnSpinRelease(int id) {
    if (id != kHorizontalSpin && id != kVerticalSpin) return;
    UpdateData(true);
    Request(kSetOffsetsMsg, Payload::kOffsets);
}

// The dispatcher logs every reply of the group itself.
void CAATServoSet::RegisterReplies(ReplyDispatcher& dispatcher) {
    RouteReply<AatOffsetRecord>(dispatcher, kReadOffsetsMsg, [this](const AatOffsetRecord& r) {
        horizontalOffset = r.horizontal;
        verticalOffset = r.vertical;
        UpdateData(false);
    });
    RouteReply<float>(dispatcher, kReadStepMsg, [this](float value) {
        step = value;
        UpdateData(false);
    });
    RouteReply<AatYawPidRecord>(dispatcher, kReadPidMsg, [this](const AatYawPidRecord& r) {
        p = r.p;
        i = r.i;
        d = r.d;
        integralThreshold = r.integralThreshold;
        integralLimit = r.integralLimit;
        UpdateData(false);
    });
    RouteReply<std::int32_t>(dispatcher, kReadServoGapMsg, [this](std::int32_t value) {
        servoGap = value;
        UpdateData(false);
    });
}

}  // namespace zephran
