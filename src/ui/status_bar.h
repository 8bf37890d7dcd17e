#pragma once

#include <array>
#include <string>

#include "ui/change_signal.h"

namespace zephran::ui {

// A status bar of six panes (widths 30, 10, 10, 10, 10 and 30 % of the window); the last one
// hosts a progress bar from 0 to 100.
class StatusBarModel {
public:
    static constexpr int kPanes = 6;
    static constexpr std::array<int, kPanes> kWidthPercent{30, 10, 10, 10, 10, 30};

    void SetPaneText(int pane, const std::string& text);
    const std::string& PaneText(int pane) const;
    // What a pane shows, for its tooltip.
    void SetPaneTip(int pane, const std::string& tip);
    const std::string& PaneTip(int pane) const;
    void SetProgress(int position);
    int Progress() const { return progress_; }

    ChangeSignal changed;

private:
    using Texts = std::array<std::string, kPanes>;
    void Set(Texts& texts, int pane, const std::string& text);
    static const std::string& Get(const Texts& texts, int pane);

    Texts panes_;
    Texts tips_;
    int progress_ = 0;
};

}  // namespace zephran::ui
