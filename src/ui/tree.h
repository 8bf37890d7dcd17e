#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/change_signal.h"

namespace zephran::ui {

// A tree view: items with texts and children, all expanded or not, and one selection.
class TreeModel {
public:
    using Handle = int;  // 0 is no item
    struct Node {
        std::string text;
        std::string key;  // what the item stands for, for code; never shown
        Handle parent = 0;
        std::vector<Handle> children;
        bool expanded = false;
    };

    void DeleteAllItems();
    Handle InsertItem(const std::string& text, Handle parent = 0, const std::string& key = {});
    // The first item with this key, or 0.
    Handle FindKey(const std::string& key) const;
    void Expand(Handle item);
    // Selects an item and reports the change, as a click would.
    void SelectItem(Handle item);
    Handle GetSelectedItem() const { return selected_; }
    std::string GetItemText(Handle item) const;
    const Node* Get(Handle item) const;
    const std::vector<Handle>& Roots() const { return roots_; }

    std::function<void()> onSelectionChanged;
    ChangeSignal changed;

private:
    std::vector<Node> nodes_;  // handle h is nodes_[h - 1]
    std::vector<Handle> roots_;
    Handle selected_ = 0;
};

}  // namespace zephran::ui
