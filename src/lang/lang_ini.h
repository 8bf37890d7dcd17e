#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "link/text_source.h"

namespace zephran {

// The in-memory store of language files. Lines: empty ones and those starting with ';' are
// skipped, "[name]" opens a section, anything else is key=value with nothing trimmed. Loads
// accumulate: a later file replaces or adds keys and leaves the others. Lookups are exact.
class CLangIni : public TextSource {
public:
    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }

    // False when the file does not exist or cannot be opened; the store is then unchanged.
    bool Load();

    std::string LangText(std::string_view section, std::string_view key) const override;
    // Whether no file has given the store any text yet.
    bool Empty() const { return sections_.empty(); }

    const std::string& LastError() const { return lastError_; }

    // Lines longer than this (without their line end) end the reading of a file.
    static constexpr std::size_t kMaxLineLength = 2046;

private:
    using Section = std::unordered_map<std::string, std::string>;

    void TakeLine(std::string_view line, std::string& section);

    std::unordered_map<std::string, Section> sections_;
    std::string path_;
    std::string lastError_;
};

}  // namespace zephran
