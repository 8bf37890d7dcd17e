#pragma once

#include <cstddef>
#include <initializer_list>
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

// No language file: every text the program adds in its built-in English.
class NoTexts : public TextSource {
public:
    std::string LangText(std::string_view, std::string_view) const override { return {}; }
};

// A text the program adds to the board family's own: the language file's where it has the key,
// else the built-in English, never an empty caption.
inline std::string AddedText(const TextSource& texts, std::string_view section,
                             std::string_view key, std::string_view english) {
    std::string text = texts.LangText(section, key);
    return text.empty() ? std::string(english) : text;
}

// text with each of "%1" to "%9" replaced by the value of that number, so that a language can
// place the values where its sentence needs them.
inline std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n =
            i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : values.size();
        if (text[i] == '%' && n < values.size()) {
            filled += values.begin()[n];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

}  // namespace zephran
