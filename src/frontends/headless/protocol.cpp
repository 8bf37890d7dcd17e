#include "frontends/headless/protocol.h"

#include <charconv>

namespace zephran::headless {
namespace {

constexpr std::string_view kBlanks = " \t";

void AppendMenu(const ui::Menu& menu, int depth, std::vector<std::string>& lines) {
    for (const ui::Menu::Item& item : menu.items) {
        std::string line(static_cast<std::size_t>(depth) * 2, ' ');
        if (item.checked) line += "[x] ";
        line += EscapeLineBreaks(item.text);
        if (!item.popup) line += " (" + std::to_string(item.command) + ")";
        if (item.grayed) line += " (grey)";
        lines.push_back(std::move(line));
        if (item.popup) AppendMenu(*item.popup, depth + 1, lines);
    }
}

void AppendNode(const ui::TreeModel& tree, ui::TreeModel::Handle handle, int depth,
                std::vector<std::string>& lines) {
    const ui::TreeModel::Node* node = tree.Get(handle);
    if (!node) return;
    std::string line(static_cast<std::size_t>(depth) * 2, ' ');
    line += EscapeLineBreaks(node->text);
    if (!node->key.empty()) line += " (" + node->key + ")";
    lines.push_back(std::move(line));
    for (const ui::TreeModel::Handle child : node->children)
        AppendNode(tree, child, depth + 1, lines);
}

MenuHit FindBelow(const ui::Menu& menu, unsigned command, bool grayedAbove) {
    for (const ui::Menu::Item& item : menu.items) {
        const bool grayed = grayedAbove || item.grayed;
        if (item.popup) {
            if (const MenuHit hit = FindBelow(*item.popup, command, grayed); hit.item) return hit;
        } else if (item.command == command) {
            return {&item, grayed};
        }
    }
    return {};
}

}  // namespace

std::string EscapeLineBreaks(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) return {};
    text.remove_prefix(start);
    const std::size_t end = text.find_first_of(kBlanks);
    if (end == std::string_view::npos) return {text, {}};
    return {text.substr(0, end), text.substr(end + 1)};
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (;;) {
        const auto [word, rest] = SplitWord(text);
        if (word.empty()) return words;
        words.push_back(word);
        text = rest;
    }
}

std::optional<std::int64_t> ParseNumber(std::string_view text, std::int64_t low,
                                        std::int64_t high) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || rest != end || value < low || value > high)
        return std::nullopt;
    return value;
}

MenuHit FindMenuCommand(const ui::Menu& menu, unsigned command) {
    return FindBelow(menu, command, false);
}

std::vector<std::string> FormatMenu(const ui::Menu& menu) {
    std::vector<std::string> lines;
    AppendMenu(menu, 0, lines);
    return lines;
}

std::vector<std::string> FormatTree(const ui::TreeModel& tree) {
    std::vector<std::string> lines;
    for (const ui::TreeModel::Handle root : tree.Roots())
        AppendNode(tree, root, 0, lines);
    return lines;
}

}  // namespace zephran::headless
