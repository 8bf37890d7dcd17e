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

}  // namespace zephran
