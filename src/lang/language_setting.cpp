#include "lang/language_setting.h"

#include <filesystem>

#include "platform/app_paths.h"
#include "platform/private_profile.h"

namespace zephran {

std::string LanguageSetting::Read() const {
    return GetPrivateProfileString("Settings", "Language", "", path_);
}

bool LanguageSetting::Write(std::string_view language) const {
    MakeDirectories(std::filesystem::path(path_).parent_path().string());
    return WritePrivateProfileString("Settings", "Language", language, path_);
}

}  // namespace zephran
