#include "platform/private_profile.h"

#include <climits>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/file_system.h"
#include "platform/whole_file.h"

namespace zephran {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A file as its lines, each without its line end, and the line end each had.
struct ProfileText {
    std::vector<std::string> lines;
    std::vector<std::string> ends;

    // New lines take the file's first line end.
    std::string NewLineEnd() const {
        for (const auto& end : ends) {
            if (end.find('\n') != std::string::npos) return end;
        }
        return "\n";
    }
};

std::optional<ProfileText> ReadProfile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();

    ProfileText profile;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto newline = text.find('\n', start);
        const std::size_t end = newline == std::string::npos ? text.size() : newline + 1;
        std::size_t contentEnd = newline == std::string::npos ? text.size() : newline;
        if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
        profile.lines.push_back(text.substr(start, contentEnd - start));
        profile.ends.push_back(text.substr(contentEnd, end - contentEnd));
        start = end;
    }
    return profile;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    const auto trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> ParseEntry(std::string_view line) {
    const auto trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Entry{Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

// Where a section and a key sit in the file.
struct Location {
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
    std::size_t lastEntryLine = 0;  // insertion point for a new key: after this line
};

Location Find(const ProfileText& profile, std::string_view section, std::string_view key) {
    Location where;
    bool inSection = false;
    for (std::size_t i = 0; i < profile.lines.size(); ++i) {
        const auto& line = profile.lines[i];
        if (const auto name = SectionName(line)) {
            if (inSection) break;  // the first matching section ends here
            if (SameName(*name, section)) {
                inSection = true;
                where.sectionLine = i;
                where.lastEntryLine = i;
            }
            continue;
        }
        if (!inSection) continue;
        const auto entry = ParseEntry(line);
        if (!entry) continue;
        where.lastEntryLine = i;
        if (SameName(entry->key, key)) {
            where.keyLine = i;
            return where;
        }
    }
    return where;
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool WriteWhole(const std::string& path, const ProfileText& profile) {
    std::string text;
    for (std::size_t i = 0; i < profile.lines.size(); ++i)
        text += profile.lines[i] + profile.ends[i];
    return ReplaceWholeFile(path, text);
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path) {
    const auto profile = ReadProfile(path);
    if (profile) {
        const auto where = Find(*profile, section, key);
        if (where.keyLine) return Unquote(ParseEntry(profile->lines[*where.keyLine])->value);
    }
    return std::string(Trim(defaultValue));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& path) {
    return ParseProfileInt(GetPrivateProfileString(section, key, "", path), defaultValue);
}

int ParseProfileInt(std::string_view value, int defaultValue) {
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    if (i >= value.size() || value[i] < '0' || value[i] > '9') return defaultValue;
    long long number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + (value[i] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) number = -number;
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
    ProfileText profile;
    if (PathExists(path)) {
        auto existing = ReadProfile(path);
        if (!existing) return false;
        profile = std::move(*existing);
    }
    const std::string lineEnd = profile.NewLineEnd();
    // A line put after the last one first ends that one.
    const auto insert = [&](std::size_t at, std::string line) {
        if (at > 0 && profile.ends[at - 1].find('\n') == std::string::npos) {
            profile.ends[at - 1] += lineEnd;
        }
        profile.lines.insert(profile.lines.begin() + static_cast<long>(at), std::move(line));
        profile.ends.insert(profile.ends.begin() + static_cast<long>(at), lineEnd);
    };
    std::string line = std::string(key) + "=" + std::string(value);
    const auto where = Find(profile, section, key);
    if (where.keyLine) {
        profile.lines[*where.keyLine] = std::move(line);
    } else if (where.sectionLine) {
        insert(where.lastEntryLine + 1, std::move(line));
    } else {
        insert(profile.lines.size(), "[" + std::string(section) + "]");
        insert(profile.lines.size(), std::move(line));
    }
    return WriteWhole(path, profile);
}

}  // namespace zephran
