#pragma once

#include <initializer_list>
#include <vector>

#include "pages/framework/page.h"
#include "pages/framework/parameter_set.h"

namespace zephran {

// A page made of parameter sets: each set's boxes take part in the page's data exchange in the
// order the sets are given, each set's buttons send its requests and its read reply refreshes
// the page. Pages with rules of their own override what differs.
class ParameterPage : public Page {
public:
    ParameterPage(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate,
                  std::vector<const ParameterSet*> sets);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;
    // The page's texts, and each field's tooltip in the language in use.
    void ApplyTexts() override;

    ParameterSetBinding& Set(std::size_t k) { return sets_[k]; }
    // The binding of one of the page's sets.
    ParameterSetBinding& Binding(const ParameterSet& set);
    std::size_t SetCount() const { return sets_.size(); }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

    std::vector<ParameterSetBinding> sets_;

private:
    // Each field's box, label and unit label carry the field's tooltip.
    void ShowFieldTips();
};

}  // namespace zephran
