// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "pages/framework/page.h"
#include "pages/framework/page_host.h"
#include "pages/framework/page_services.h"
#include "session/settings_file.h"
#include "ui/change_signal.h"
#include "ui/tree.h"

namespace zephran {

// The main window's pages, the tree of the product's pages that chooses among them, and the
// page shown.
class PageSet {
public:
    // languageChosen: without a language the tree stays as it is.
    PageSet(ui::TreeModel& tree, const SettingsFile& settings, const TextSource& texts,
            std::function<bool()> languageChosen);
    ~PageSet();

    // Makes every page, routes its replies and gives it its texts.
    void Create(PageHost& host, const PageServices& services, ReplyDispatcher& dispatcher);
    // The tree of the product chosen in the settings, then the firmware update.
    void BuildTree();
    // Shows the product's first page, or none without a product.
    void ShowProductPage();
    // Gives every page its texts again, in the order the texts depend on each other.
    void ApplyTexts();
    // Another board, or none: no page shows values from before as this board's.
    void BoardChanged();

    Page* Find(std::string_view treeKey) const;
    Page* Shown() const { return shown_; }
    const std::vector<std::unique_ptr<Page>>& All() const { return pages_; }
    // Which live page the page area shows, as the page switch sets it.
    int ActivePageCode() const { return activePageCode_; }
    // Told whenever another page is shown.
    ui::ChangeSignal changed;

private:
    void OnTreeSelection();
    void Show(Page* page, std::optional<int> liveCode);

    ui::TreeModel& tree_;
    const SettingsFile& settings_;
    const TextSource& texts_;
    std::function<bool()> languageChosen_;
    std::vector<std::unique_ptr<Page>> pages_;
    Page* shown_ = nullptr;
    int activePageCode_ = kPageNotLive;
};

}  // namespace zephran
