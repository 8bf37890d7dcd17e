#include "ui/status_bar.h"

#include <algorithm>

namespace zephran::ui {

void StatusBarModel::Set(Texts& texts, int pane, const std::string& text) {
    if (pane < 0 || pane >= kPanes || texts[static_cast<std::size_t>(pane)] == text) return;
    texts[static_cast<std::size_t>(pane)] = text;
    changed.Emit();
}

const std::string& StatusBarModel::Get(const Texts& texts, int pane) {
    static const std::string none;
    return (pane < 0 || pane >= kPanes) ? none : texts[static_cast<std::size_t>(pane)];
}

void StatusBarModel::SetPaneText(int pane, const std::string& text) {
    Set(panes_, pane, text);
}

const std::string& StatusBarModel::PaneText(int pane) const {
    return Get(panes_, pane);
}

void StatusBarModel::SetPaneTip(int pane, const std::string& tip) {
    Set(tips_, pane, tip);
}

const std::string& StatusBarModel::PaneTip(int pane) const {
    return Get(tips_, pane);
}

void StatusBarModel::SetProgress(int position) {
    position = std::clamp(position, 0, 100);
    if (progress_ == position) return;
    progress_ = position;
    changed.Emit();
}

}  // namespace zephran::ui
