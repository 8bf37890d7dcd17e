#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/menu.h"
#include "ui/tree.h"

namespace zephran::headless {

// Writes carriage returns and line feeds as the two characters \r and \n, so that any text
// prints as one line.
std::string EscapeLineBreaks(std::string_view text);

// Splits off the first word: leading blanks are skipped, the word ends at the next blank and
// the rest starts after that one blank, so it keeps any further blanks.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text);

// The blank-separated words of text.
std::vector<std::string_view> Words(std::string_view text);

// A whole decimal number within [low, high], or nothing.
std::optional<std::int64_t> ParseNumber(std::string_view text, std::int64_t low, std::int64_t high);

// The menu item of a command, and whether it or a popup above it is greyed.
struct MenuHit {
    const ui::Menu::Item* item = nullptr;
    bool grayed = false;
};
MenuHit FindMenuCommand(const ui::Menu& menu, unsigned command);

// One line per menu item, two blanks of indent per level: "[x] " before a checked item, the
// command number in parentheses after a command, " (grey)" after a greyed item.
std::vector<std::string> FormatMenu(const ui::Menu& menu);

// One line per tree node, children indented by two blanks: the text, then the key in
// parentheses.
std::vector<std::string> FormatTree(const ui::TreeModel& tree);

}  // namespace zephran::headless
