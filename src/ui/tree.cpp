#include "ui/tree.h"

namespace zephran::ui {

void TreeModel::DeleteAllItems() {
    nodes_.clear();
    roots_.clear();
    selected_ = 0;
    changed.Emit();
}

TreeModel::Handle TreeModel::InsertItem(const std::string& text, Handle parent,
                                        const std::string& key) {
    nodes_.push_back({text, key, Get(parent) ? parent : 0, {}, false});
    const Handle handle = static_cast<Handle>(nodes_.size());
    if (Get(parent)) {
        nodes_[static_cast<std::size_t>(parent - 1)].children.push_back(handle);
    } else {
        roots_.push_back(handle);
    }
    changed.Emit();
    return handle;
}

void TreeModel::Expand(Handle item) {
    if (!Get(item)) return;
    nodes_[static_cast<std::size_t>(item - 1)].expanded = true;
    changed.Emit();
}

void TreeModel::SelectItem(Handle item) {
    selected_ = Get(item) ? item : 0;
    changed.Emit();
    if (onSelectionChanged) onSelectionChanged();
}

TreeModel::Handle TreeModel::FindKey(const std::string& key) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].key == key) return static_cast<Handle>(i + 1);
    }
    return 0;
}

std::string TreeModel::GetItemText(Handle item) const {
    const Node* node = Get(item);
    return node ? node->text : std::string();
}

const TreeModel::Node* TreeModel::Get(Handle item) const {
    if (item < 1 || item > static_cast<Handle>(nodes_.size())) return nullptr;
    return &nodes_[static_cast<std::size_t>(item - 1)];
}

}  // namespace zephran::ui
