#include "ui/layout.h"

#include <algorithm>

namespace zephran::ui {
namespace {

bool IsBlock(const LayoutItem& item, const std::vector<Control>& controls) {
    if (item.kind != LayoutItem::Kind::Control) return item.kind != LayoutItem::Kind::Stretch;
    const auto control = std::find_if(controls.begin(), controls.end(),
                                      [&](const Control& c) { return c.id == item.controlId; });
    return control != controls.end() && control->multiline;
}

}  // namespace

Wrap WrapOf(const LayoutItem& item, const std::vector<Control>& controls) {
    if (item.kind != LayoutItem::Kind::Row && item.kind != LayoutItem::Kind::Grid)
        return Wrap::Never;
    int blocks = 0;
    for (const LayoutItem& child : item.children) {
        if (child.kind == LayoutItem::Kind::Stretch) continue;
        if (!IsBlock(child, controls)) return Wrap::Never;
        ++blocks;
    }
    if (blocks < 2) return Wrap::Never;
    return item.kind == LayoutItem::Kind::Grid ? Wrap::FlowInColumns : Wrap::Flow;
}

}  // namespace zephran::ui
