#include "session/settings_file.h"

#include <algorithm>
#include <fstream>

#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace zephran {
namespace {

// The keys whose value must be a positive decimal number, with the most they may be.
struct NumberKey {
    std::string_view section;
    std::string_view key;
    long long most;
    const char* what;
};
constexpr std::array<NumberKey, 3> kNumberKeys{{
    {"PCSetting", "Com", 1024, "a port number"},
    {"PCSetting", "bps", 100'000'000, "a baud rate"},
    {"AHRSSetting", "bps", 100'000'000, "a baud rate"},
}};

bool IsPositiveNumber(std::string_view text, long long most) {
    if (text.empty() || text.size() > 10) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const long long value = std::stoll(std::string(text));
    return value > 0 && value <= most;
}

std::string_view TableDefault(std::string_view section, std::string_view key) {
    for (const SettingDefault& setting : kSettingDefaults) {
        if (setting.section == section && setting.key == key) return setting.value;
    }
    return {};
}

bool Readable(const std::string& path) {
    return RegularFileSize(path) && std::ifstream(PathFromUtf8(path), std::ios::binary).good();
}

}  // namespace

std::string SettingsFile::ReadText(std::string_view section, std::string_view key) const {
    if (const auto kept = unsaved_.find({std::string(section), std::string(key)});
        kept != unsaved_.end()) {
        return kept->second;
    }
    std::string value = GetPrivateProfileString(section, key, " ", path_);
    if (value.empty() && !Readable(path_)) value = TableDefault(section, key);
    return value;
}

int SettingsFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    return ParseProfileInt(ReadText(section, key), defaultValue);
}

bool SettingsFile::Write(std::string_view section, std::string_view key,
                         std::string_view value) const {
    const Key where{std::string(section), std::string(key)};
    if (WritePrivateProfileString(section, key, value, path_)) {
        unsaved_.erase(where);
        return true;
    }
    unsaved_[where] = std::string(value);
    return false;
}

std::string SettingsFile::Problem() const {
    if (PathExists(path_) && !RegularFileSize(path_))
        return "it is a folder or a device, not a file";
    return OpenForUpdateProblem(path_);
}

void SettingsFile::EnsureDefaults() const {
    if (!PathExists(path_)) {
        std::ofstream create(PathFromUtf8(path_), std::ios::binary);
    }
    for (const auto& setting : kSettingDefaults) {
        if (ReadText(setting.section, setting.key).empty()) {
            Write(setting.section, setting.key, setting.value);
        }
    }
}

std::vector<std::string> SettingsFile::RepairValues() const {
    std::vector<std::string> repaired;
    for (const NumberKey& number : kNumberKeys) {
        const std::string value = ReadText(number.section, number.key);
        if (IsPositiveNumber(value, number.most)) continue;
        const std::string_view fallback = TableDefault(number.section, number.key);
        Write(number.section, number.key, fallback);
        repaired.push_back("[" + std::string(number.section) + "] " + std::string(number.key) +
                           "=" + value + " is not " + number.what + "; " + std::string(fallback) +
                           " is used instead.");
    }
    return repaired;
}

}  // namespace zephran
