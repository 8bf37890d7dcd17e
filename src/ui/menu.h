#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/change_signal.h"

namespace zephran::ui {

// A popup menu or the menu bar: items with command numbers, check marks and greying, and
// sub-popups.
struct Menu {
    struct Item {
        std::string text;
        unsigned command = 0;  // 0 for a sub-popup
        bool checked = false;
        bool grayed = false;
        std::unique_ptr<Menu> popup;
    };

    Item& AppendItem(const std::string& text, unsigned command, bool checked = false,
                     bool grayed = false);
    Menu& AppendPopup(const std::string& text, bool grayed = false);
    // The item with this command anywhere below, or null.
    const Item* FindCommand(unsigned command) const;

    std::vector<Item> items;
};

class MenuBarModel {
public:
    // Replaces the whole bar.
    void Set(Menu bar) {
        bar_ = std::move(bar);
        changed.Emit();
    }
    const Menu& Bar() const { return bar_; }

    ChangeSignal changed;

private:
    Menu bar_;
};

}  // namespace zephran::ui
