#include "lang/lang_ini.h"

#include <fstream>
#include <sstream>

#include "lang/text_encoding.h"
#include "platform/file_system.h"

namespace zephran {

bool CLangIni::Load() {
    if (!PathExists(path_)) return false;
    std::ifstream in(PathFromUtf8(path_), std::ios::binary);
    if (!in) {
        lastError_ = "Unable to open file: \"" + path_ + "\"!!";
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    const bool utf8 = IsValidUtf8(text);

    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t contentEnd = end;
        if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
        const std::string_view raw(text.data() + start, contentEnd - start);
        if (raw.size() > kMaxLineLength) break;
        if (utf8) {
            TakeLine(raw, section);
        } else {
            TakeLine(Gb18030ToUtf8(raw), section);
        }
        start = end + 1;
    }
    return true;
}

void CLangIni::TakeLine(std::string_view line, std::string& section) {
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[' && line.back() == ']') {
        const auto first = line.find_first_not_of('[');
        const auto last = line.find_last_not_of(']');
        section =
            (first == std::string_view::npos || last == std::string_view::npos || last < first)
                ? std::string()
                : std::string(line.substr(first, last - first + 1));
        return;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        sections_[section][std::string()] = line.substr(1);
    } else {
        sections_[section][std::string(line.substr(0, eq))] = line.substr(eq + 1);
    }
}

std::string CLangIni::LangText(std::string_view sectionName, std::string_view key) const {
    const auto section = sections_.find(std::string(sectionName));
    if (section == sections_.end()) return {};
    const auto value = section->second.find(std::string(key));
    return value == section->second.end() ? std::string() : value->second;
}

}  // namespace zephran
