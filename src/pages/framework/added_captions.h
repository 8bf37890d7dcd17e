#pragma once

#include <span>
#include <string_view>

namespace zephran {

// A caption key the program adds to a page's language section, beyond the keys of the board
// family's own texts.
struct AddedCaptionKey {
    std::string_view section;
    std::string_view key;
};

// Every added caption key. A language file without one shows the page's built-in English for
// it; a page's other keys give the empty text when the file lacks them.
std::span<const AddedCaptionKey> AddedCaptionKeys();
bool IsAddedCaption(std::string_view section, std::string_view key);

}  // namespace zephran
