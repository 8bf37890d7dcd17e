// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/page_set.h"

#include "app/page_factory.h"
#include "pages/framework/products.h"

namespace zephran {

PageSet::PageSet(ui::TreeModel& tree, const SettingsFile& settings, const TextSource& texts,
                 std::function<bool()> languageChosen)
    : tree_(tree), settings_(settings), texts_(texts), languageChosen_(std::move(languageChosen)) {
    tree_.onSelectionChanged = [this] { OnTreeSelection(); };
}

PageSet::~PageSet() {
    tree_.onSelectionChanged = nullptr;
}

void PageSet::Create(PageHost& host, const PageServices& services, ReplyDispatcher& dispatcher) {
    for (const PageIdentity& identity : kPages) {
        pages_.push_back(CreatePage(host, services, identity));
        pages_.back()->RegisterReplies(dispatcher);
        pages_.back()->InitDialog();
        pages_.back()->ApplyTexts();
    }
}

void PageSet::BuildTree() {
    if (!languageChosen_()) return;
    tree_.DeleteAllItems();
    const auto insert = [this](const TreeNodeSpec& node) {
        const auto top =
            tree_.InsertItem(texts_.LangText("Tree", node.key), 0, std::string(node.key));
        for (std::string_view child : node.children) {
            tree_.InsertItem(texts_.LangText("Tree", child), top, std::string(child));
        }
        tree_.Expand(top);
    };
    if (const ProductSpec* product = FindProduct(settings_.ReadText("ProductSetting", "Product"))) {
        for (const TreeNodeSpec& node : product->nodes)
            insert(node);
    }
    insert(UpdateNode());
}

Page* PageSet::Find(std::string_view treeKey) const {
    for (const auto& page : pages_) {
        if (page->Id().treeKey == treeKey) return page.get();
    }
    return nullptr;
}

void PageSet::Show(Page* page, std::optional<int> liveCode) {
    shown_ = page;
    if (liveCode) activePageCode_ = *liveCode;
    changed.Emit();
    if (page) page->OnShown();
}

void PageSet::ShowProductPage() {
    const ProductSpec* product = FindProduct(settings_.ReadText("ProductSetting", "Product"));
    if (!product) {
        Show(nullptr, std::nullopt);
        return;
    }
    for (const auto& page : pages_) {
        if (page->Id().className == product->defaultPageClass) {
            Show(page.get(),
                 product->setsPageCode ? std::optional<int>(page->Id().liveCode) : std::nullopt);
            return;
        }
    }
}

void PageSet::OnTreeSelection() {
    const auto item = tree_.GetSelectedItem();
    if (!item) return;
    const std::string text = tree_.GetItemText(item);
    for (std::string_view key : kTreeMatchOrder) {
        if (texts_.LangText("Tree", key) != text) continue;
        Page* page = Find(key);
        Show(page, page->Id().liveCode);
        return;
    }
}

void PageSet::ApplyTexts() {
    for (std::string_view className : kTextRefreshOrder) {
        for (const auto& page : pages_) {
            if (page->Id().className == className) page->ApplyTexts();
        }
    }
    // The pages without texts of their own still carry their tree text as heading.
    for (const auto& page : pages_) {
        if (page->Id().section.empty()) page->ApplyTexts();
    }
}

void PageSet::BoardChanged() {
    for (const auto& page : pages_)
        page->BoardChanged();
}

}  // namespace zephran
