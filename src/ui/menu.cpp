#include "ui/menu.h"

namespace zephran::ui {

Menu::Item& Menu::AppendItem(const std::string& text, unsigned command, bool checked, bool grayed) {
    items.push_back({text, command, checked, grayed, nullptr});
    return items.back();
}

Menu& Menu::AppendPopup(const std::string& text, bool grayed) {
    items.push_back({text, 0, false, grayed, std::make_unique<Menu>()});
    return *items.back().popup;
}

const Menu::Item* Menu::FindCommand(unsigned command) const {
    for (const Item& item : items) {
        if (item.popup) {
            if (const Item* found = item.popup->FindCommand(command)) return found;
        } else if (item.command == command) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace zephran::ui
