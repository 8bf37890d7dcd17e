#include "pages/framework/parameter_page.h"

#include <stdexcept>
#include <string>

#include "pages/framework/parameter_field_info.h"

namespace zephran {
ParameterPage::ParameterPage(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate,
                             std::vector<const ParameterSet*> sets)
    : Page(host, std::move(identity), std::move(windowTemplate)) {
    sets_.reserve(sets.size());  // the routes of the bindings hold their addresses
    for (const ParameterSet* set : sets)
        sets_.emplace_back(*set, *this, host_);
    for (ParameterSetBinding& binding : sets_)
        TrackValues(binding.Values());
    ShowFieldTips();
}

void ParameterPage::ApplyTexts() {
    Page::ApplyTexts();
    ShowFieldTips();
}

void ParameterPage::ShowFieldTips() {
    for (const ParameterSetBinding& binding : sets_) {
        for (const ParameterField& f : binding.Set().fields) {
            const std::string tip = FieldTip(f, host_.Texts());
            for (const int id : {f.label, f.unitLabel}) {
                if (id) SetTip(id, tip);
            }
            for (const int id : InputsOf(f))
                SetTip(id, tip);
        }
    }
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

// A choice's button is an edit of its set; the sets' buttons send their requests.
void ParameterPage::OnCommand(int id) {
    OnEditChange(id);
    for (ParameterSetBinding& set : sets_) {
        if (set.OnCommand(id)) return;
    }
}

}  // namespace zephran
