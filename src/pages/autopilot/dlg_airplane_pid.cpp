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
          .read = c.read,
          .write = c.write,
          .reset = c.reset,
          .record = ReplyRecord::kPidSet,
          .recordIndex = c.read->recordIndex,
          .leadingByte = true,
          .fields = fields,
          .readButton = c.ReadButton(),
          .writeButton = c.WriteButton(),
          .resetButton = c.DefaultButton()} {
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
        t.controls.push_back(Button(c.ReadButton(), "Read", "IDC_BUTTON_" + stem + "_READ"));
        t.controls.push_back(Button(c.WriteButton(), "Write", "IDC_BUTTON_" + stem + "_WRITE"));
        t.controls.push_back(
            Button(c.DefaultButton(), "Default", "IDC_BUTTON_" + stem + "_DEFAULT"));
        groups.push_back(Group(
            c.firstId, {Grid(4, std::move(cells)), Row({Item(c.ReadButton()), Item(c.WriteButton()),
                                                        Item(c.DefaultButton())})}));
    }
    t.layout = Column({Grid(3, std::move(groups)), Stretch()});
    return t;
}

CDlgAirplanePID::CDlgAirplanePID(PageHost& host, Identity identity, const Table& table)
    : CDlgAirplanePID(host, std::move(identity), table, MakeSets(table)) {}

CDlgAirplanePID::CDlgAirplanePID(PageHost& host, Identity identity, const Table& table, Sets sets)
    : Page(host, std::move(identity), Template(table, sets)), sets_(std::move(sets)) {
    bindings_.reserve(sets_.size());  // the bindings' routes hold their addresses
    for (const auto& s : sets_)
        bindings_.emplace_back(s->set, *this, host_);
}

// Every box of the page is taken into the fields on a write, but only the pressed controller's
// record goes out, with the leading byte the board last sent for it.
void CDlgAirplanePID::DoDataExchange(ui::DataExchange& dx) {
    for (ParameterSetBinding& binding : bindings_)
        binding.Exchange(dx);
}

void CDlgAirplanePID::OnCommand(int id) {
    for (ParameterSetBinding& binding : bindings_) {
        if (binding.OnCommand(id)) return;
    }
}

// The dispatcher logs every reply of the group itself; the write and default acknowledgements
// only clear their pending requests.
void CDlgAirplanePID::RegisterReplies(ReplyDispatcher& dispatcher) {
    for (ParameterSetBinding& binding : bindings_)
        binding.RouteReplies(dispatcher);
}

}  // namespace zephran
