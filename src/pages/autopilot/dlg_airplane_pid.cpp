#include "pages/autopilot/dlg_airplane_pid.h"

#include <string>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "pages/autopilot/pid_records.h"
#include "pages/record_copy.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

using Table = CDlgAirplanePID::Table;
using Field = CDlgAirplanePID::Field;

// Six group boxes, three to a row; in each, the boxes two to a row and the buttons below.
ui::WindowTemplate Template(const Table& table) {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> groups;
    for (const CDlgAirplanePID::Controller& c : table.controllers) {
        const std::string stem = c.stem;
        t.controls.push_back(GroupBox(c.firstId, c.caption, "IDC_STATIC_" + stem + "_PROM"));
        std::vector<LayoutItem> cells;
        for (int f = 0; f < CDlgAirplanePID::kFieldCount; ++f) {
            const auto field = static_cast<Field>(f);
            const char* suffix =
                field == CDlgAirplanePID::kMaxI && c.maxIKey ? c.maxIKey : table.labels[f].key;
            t.controls.push_back(Label(c.Label(field), table.labels[f].caption,
                                       "IDC_STATIC_" + stem + "_" + suffix));
            t.controls.push_back(Edit(c.Box(field), 10));
            cells.push_back(Item(c.Label(field)));
            cells.push_back(Item(c.Box(field)));
        }
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

}  // namespace

CDlgAirplanePID::CDlgAirplanePID(PageHost& host, Identity identity, const Table& table)
    : Page(host, std::move(identity), Template(table)), table_(table) {}

PidSetRecord& CDlgAirplanePID::RecordOf(const Controller& controller) {
    return host_.Records().pidSets[(controller.readMsg - 1) / 3];
}

void CDlgAirplanePID::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        const Controller& c = table_.controllers[k];
        Values& v = values[k];
        dx.Text(c.Box(kTotalP), v.totalP);
        dx.Text(c.Box(kP), v.p);
        dx.Text(c.Box(kI), v.i);
        dx.Text(c.Box(kD), v.d);
        dx.Text(c.Box(kIThreshold), v.iThreshold);
        dx.Text(c.Box(kMaxI), v.maxI);
        dx.Text(c.Box(kInSlew), v.inSlew);
        dx.Text(c.Box(kOutSlew), v.outSlew);
        dx.Text(c.Box(kDP), v.dp);
        dx.Text(c.Box(kOutMax), v.outMax);
    }
}

// Every box of the page is taken into the fields, but only this controller's record goes out,
// with the leading byte the board last sent for it.
void CDlgAirplanePID::Write(std::size_t index) {
    UpdateData(true);
    const Controller& c = table_.controllers[index];
    const Values& v = values[index];
    PidSetRecord& record = RecordOf(c);
    record.totalP = v.totalP;
    record.p = v.p;
    record.i = v.i;
    record.d = v.d;
    record.iThreshold = v.iThreshold;
    record.maxI = v.maxI;
    record.inSlew = v.inSlew;
    record.outSlew = v.outSlew;
    record.dp = v.dp;
    record.outMax = v.outMax;
    SendRecord(kPidGroup, c.readMsg + 1, record);
}

void CDlgAirplanePID::OnCommand(int id) {
    for (std::size_t k = 0; k < table_.controllers.size(); ++k) {
        const Controller& c = table_.controllers[k];
        if (id == c.ReadButton()) Send(kPidGroup, c.readMsg);
        if (id == c.WriteButton()) Write(k);
        if (id == c.DefaultButton()) Send(kPidGroup, c.readMsg + 2);
    }
}

// The dispatcher logs every reply of the group itself; the write and default acknowledgements
// only clear their pending requests.
void CDlgAirplanePID::RegisterReplies(ReplyDispatcher& dispatcher) {
    for (std::size_t k = 0; k < table_.controllers.size(); ++k) {
        const Controller& c = table_.controllers[k];
        dispatcher.Route(
            kPidGroup, c.readMsg,
            [this, &c, k](const ReceiveArea& frame) {
                PidSetRecord& record = RecordOf(c);
                CopyPayload(record, frame);
                values[k] = {record.totalP,     record.p,     record.i,      record.d,
                             record.iThreshold, record.maxI,  record.inSlew, record.outSlew,
                             record.dp,         record.outMax};
                UpdateData(false);
            },
            false);
    }
}

}  // namespace zephran
