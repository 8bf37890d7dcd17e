#pragma once

#include <string>
#include <vector>

#include "link/line_list.h"
#include "ui/change_signal.h"

namespace zephran::ui {

// An unsorted list box.
class ListBoxModel : public LineList {
public:
    std::size_t GetCount() const override { return lines_.size(); }
    void ResetContent() override {
        lines_.clear();
        changed.Emit();
    }
    void AddString(const std::string& line) override {
        lines_.push_back(line);
        changed.Emit();
    }
    const std::vector<std::string>& Lines() const { return lines_; }

    ChangeSignal changed;

private:
    std::vector<std::string> lines_;
};

}  // namespace zephran::ui
