#include "ui/status_bar.h"

#include <algorithm>

namespace zephran::ui {

void StatusBarModel::SetPaneText(int pane, const std::string& text) {
    if (pane < 0 || pane >= kPanes || panes_[static_cast<std::size_t>(pane)] == text) return;
    panes_[static_cast<std::size_t>(pane)] = text;
    changed.Emit();
}

const std::string& StatusBarModel::PaneText(int pane) const {
    static const std::string none;
    return (pane < 0 || pane >= kPanes) ? none : panes_[static_cast<std::size_t>(pane)];
}

void StatusBarModel::SetPaneTip(int pane, const std::string& tip) {
    if (pane < 0 || pane >= kPanes || tips_[static_cast<std::size_t>(pane)] == tip) return;
    tips_[static_cast<std::size_t>(pane)] = tip;
    changed.Emit();
}

const std::string& StatusBarModel::PaneTip(int pane) const {
    static const std::string none;
    return (pane < 0 || pane >= kPanes) ? none : tips_[static_cast<std::size_t>(pane)];
}

void StatusBarModel::SetProgress(int position) {
    position = std::clamp(position, 0, 100);
    if (progress_ == position) return;
    progress_ = position;
    changed.Emit();
}

}  // namespace zephran::ui
