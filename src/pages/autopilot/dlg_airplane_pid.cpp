#include "pages/autopilot/dlg_airplane_pid.h"

#include "ui/controls.h"

namespace zephran {
namespace {

using P = CDlgAirplanePID;

// Where each box lies in the PID set record, after the leading byte.
struct Slot {
    const char* name;
    std::uint16_t offset;
    FieldType type;
};
constexpr std::array<Slot, P::kFieldCount> kSlots{{
    {"totalP", 1, FieldType::kF32},
    {"p", 5, FieldType::kU8},
    {"i", 6, FieldType::kU8},
    {"d", 7, FieldType::kU8},
    {"iThreshold", 8, FieldType::kF32},
    {"maxI", 12, FieldType::kF32},
    {"inSlew", 16, FieldType::kF32},
    {"outSlew", 20, FieldType::kF32},
    {"dp", 24, FieldType::kF32},
    {"outMax", 28, FieldType::kF32},
}};

}  // namespace

CDlgAirplanePID::ControllerSet::ControllerSet(const Table& table, const Controller& c)
    : set{.name = c.caption,
          .group = c.firstId,
          .requests = {c.read, c.write, c.reset},
          .buttons = {c.ReadButton(), c.WriteButton(), c.DefaultButton()},
          .record = ReplyRecord::kPidSet,
          .recordIndex = c.read->recordIndex,
          .leadingByte = true,
          .fields = fields} {
    for (int f = 0; f < kFieldCount; ++f) {
        const auto field = static_cast<Field>(f);
        const char* suffix = field == kMaxI && c.maxIKey ? c.maxIKey : table.labels[f].key;
        keys[f] = std::string("IDC_STATIC_") + c.stem + "_" + suffix;
        fields[f] = {.name = kSlots[f].name,
                     .offset = kSlots[f].offset,
                     .type = kSlots[f].type,
                     .box = c.Box(field),
                     .label = c.Label(field),
                     .caption = table.labels[f].caption,
                     .key = keys[f]};
    }
}

CDlgAirplanePID::Sets CDlgAirplanePID::MakeSets(const Table& table) {
    Sets sets;
    for (const Controller& c : table.controllers)
        sets.push_back(std::make_unique<ControllerSet>(table, c));
    return sets;
}

// Six group boxes, three to a row; in each, the boxes two to a row and the buttons below.
ui::WindowTemplate CDlgAirplanePID::Template(const Table& table, const Sets& sets) {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> groups;
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const Controller& c = table.controllers[k];
        const std::string stem = c.stem;
        t.controls.push_back(GroupBox(c.firstId, c.caption, "IDC_STATIC_" + stem + "_PROM"));
        std::vector<LayoutItem> cells = ParameterSetBinding::AddControls(sets[k]->set, t);
        const ButtonCaptions captions = ButtonCaptions::ReadWriteDefault(
            "IDC_BUTTON_" + stem + "_READ", "IDC_BUTTON_" + stem + "_WRITE",
            "IDC_BUTTON_" + stem + "_DEFAULT");
        std::vector<LayoutItem> buttons =
            ParameterSetBinding::AddButtons(sets[k]->set, t, captions);
        groups.push_back(Group(c.firstId, {Grid(4, std::move(cells)), Row(std::move(buttons))}));
    }
    t.layout = Column({Grid(3, std::move(groups)), Stretch()});
    return t;
}

CDlgAirplanePID::CDlgAirplanePID(PageHost& host, Identity identity, const Table& table)
    : CDlgAirplanePID(host, std::move(identity), table, MakeSets(table)) {}

std::vector<const ParameterSet*> CDlgAirplanePID::SetsOf(const Sets& sets) {
    std::vector<const ParameterSet*> pointers;
    for (const auto& s : sets)
        pointers.push_back(&s->set);
    return pointers;
}

// The sets live on the heap, so they keep their place when moved in after the base is built.
CDlgAirplanePID::CDlgAirplanePID(PageHost& host, Identity identity, const Table& table, Sets sets)
    : ParameterPage(host, std::move(identity), Template(table, sets), SetsOf(sets)),
      controllerSets_(std::move(sets)) {}

}  // namespace zephran
