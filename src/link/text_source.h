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

}  // namespace zephran
