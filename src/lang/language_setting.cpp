#include "lang/language_setting.h"

#include <filesystem>

#include "platform/app_paths.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace zephran {

std::string LanguageSetting::Read() const {
    return GetPrivateProfileString("Settings", "Language", "", path_);
}

bool LanguageSetting::Write(std::string_view language) const {
    MakeDirectories(Utf8FromPath(PathFromUtf8(path_).parent_path()));
    return WritePrivateProfileString("Settings", "Language", language, path_);
}

}  // namespace zephran
