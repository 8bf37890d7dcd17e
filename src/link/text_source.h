#pragma once

#include <string>
#include <string_view>

namespace zephran {

// Where captions and messages come from: the loaded language file.
class TextSource {
public:
    virtual ~TextSource() = default;
    // The text of (section, key); empty when either is missing.
    virtual std::string LangText(std::string_view section, std::string_view key) const = 0;
};

// A text the program adds to the board family's own: the language file's where it has the key,
// else the built-in English, never an empty caption.
inline std::string AddedText(const TextSource& texts, std::string_view section,
                             std::string_view key, std::string_view english) {
    std::string text = texts.LangText(section, key);
    return text.empty() ? std::string(english) : text;
}

// Puts value in place of the first {name} in text (name with its braces). A translation that
// lacks the place leaves the value out; nothing in value is read as a format.
inline std::string FillIn(std::string text, std::string_view name, std::string_view value) {
    if (const std::size_t at = text.find(name); at != std::string::npos)
        text.replace(at, name.size(), value);
    return text;
}

}  // namespace zephran
