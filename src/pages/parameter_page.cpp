#include "pages/parameter_page.h"

#include <stdexcept>
#include <string>

#include "pages/parameter_field_info.h"

namespace zephran {
namespace {

// Each field's box, label and unit label carry the field's tooltip.
ui::WindowTemplate WithFieldTips(ui::WindowTemplate t,
                                 const std::vector<const ParameterSet*>& sets) {
    for (const ParameterSet* set : sets) {
        for (const ParameterField& f : set->fields) {
            const std::string tip = FieldTip(f);
            for (ui::Control& control : t.controls) {
                const bool own = control.id == f.box || (f.label && control.id == f.label) ||
                                 (f.unitLabel && control.id == f.unitLabel);
                if (own) control.tip = tip;
            }
        }
    }
    return t;
}

}  // namespace

ParameterPage::ParameterPage(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate,
                             std::vector<const ParameterSet*> sets)
    : Page(host, std::move(identity), WithFieldTips(std::move(windowTemplate), sets)) {
    sets_.reserve(sets.size());  // the routes of the bindings hold their addresses
    for (const ParameterSet* set : sets)
        sets_.emplace_back(*set, *this, host_);
    for (ParameterSetBinding& binding : sets_)
        TrackValues(binding.Values());
}

ParameterSetBinding& ParameterPage::Binding(const ParameterSet& set) {
    for (ParameterSetBinding& binding : sets_) {
        if (&binding.Set() == &set) return binding;
    }
    throw std::out_of_range("no set " + std::string(set.name));
}

void ParameterPage::RegisterReplies(ReplyDispatcher& dispatcher) {
    for (ParameterSetBinding& set : sets_)
        set.RouteReplies(dispatcher);
}

void ParameterPage::DoDataExchange(ui::DataExchange& dx) {
    for (ParameterSetBinding& set : sets_)
        set.Exchange(dx);
}

void ParameterPage::OnCommand(int id) {
    for (ParameterSetBinding& set : sets_) {
        if (set.OnCommand(id)) return;
    }
}

}  // namespace zephran
