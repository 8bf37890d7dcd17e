#include "app/settings_file.h"

#include <unistd.h>
#include <fstream>

#include "platform/private_profile.h"

namespace zephran {

std::string SettingsFile::ReadText(std::string_view section, std::string_view key) const {
    return GetPrivateProfileString(section, key, " ", path_);
}

int SettingsFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    return GetPrivateProfileInt(section, key, defaultValue, path_);
}

bool SettingsFile::Write(std::string_view section, std::string_view key,
                         std::string_view value) const {
    return WritePrivateProfileString(section, key, value, path_);
}

void SettingsFile::EnsureDefaults() const {
    if (::access(path_.c_str(), F_OK) != 0) {
        std::ofstream create(path_, std::ios::binary);
    }
    for (const auto& setting : kSettingDefaults) {
        if (ReadText(setting.section, setting.key).empty()) {
            Write(setting.section, setting.key, setting.value);
        }
    }
}

}  // namespace zephran
