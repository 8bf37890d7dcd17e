#include "app/unwritten_edits.h"

#include <algorithm>

namespace zephran {

bool MayQuitWithUnwrittenEdits(const std::vector<std::unique_ptr<Page>>& pages,
                               ui::HostServices& host, const TextSource& texts) {
    const bool edited = std::any_of(pages.begin(), pages.end(),
                                    [](const auto& page) { return page->HasUnwrittenEdits(); });
    return !edited || host.AskYesNo(AddedText(
                          texts, "MessagBox", "Unwritten Edits",
                          "Some values were changed but not written to the board. Quit anyway?"));
}

}  // namespace zephran
