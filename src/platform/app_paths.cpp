// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/app_paths.h"

#include <filesystem>

#include "platform/file_system.h"

namespace zephran {
namespace {

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(PathFromUtf8(path), error);
}

std::string InstalledLanguageDir(const std::string& exeDir) {
    return Utf8FromPath(PathFromUtf8(exeDir).parent_path() / kInstalledLanguageDir);
}

// bin/ beside share/zephran/Language, and no languages beside the executable.
bool IsInstalledLayout(const std::string& exeDir) {
    return !IsDirectory(exeDir + "/Language") && IsDirectory(InstalledLanguageDir(exeDir));
}

// The languages that came with the program: beside the executable in a build tree or a portable
// folder, under share/zephran in an installed layout.
std::string ShippedLanguageDir(const std::string& exeDir) {
    return IsInstalledLayout(exeDir) ? InstalledLanguageDir(exeDir) : exeDir + "/Language";
}

// The folder's own Language/ when it has one, else the shipped languages.
std::string LanguageDirFor(const std::string& dir, const std::string& exeDir) {
    const std::string own = dir + "/Language";
    return IsDirectory(own) ? own : ShippedLanguageDir(exeDir);
}

}  // namespace

bool MakeDirectories(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(dir), error);
    return IsDirectory(dir);
}

AppPaths ResolveAppPaths(const std::optional<std::string>& appDirOverride) {
    return ResolveAppPathsFor(ExecutableDir(), appDirOverride);
}

AppPaths ResolveAppPathsFor(const std::string& exeDir,
                            const std::optional<std::string>& appDirOverride) {
    AppPaths paths;
    paths.profileFile = UserConfigDir() + "/profile.ini";
    // An installed program keeps its users' files in their own folders, even where it could
    // write beside itself.
    if (appDirOverride || (!IsInstalledLayout(exeDir) && CanWriteIn(exeDir))) {
        std::string dir = appDirOverride ? *appDirOverride : exeDir;
        while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\'))
            dir.pop_back();
        paths.programDir = dir;
        paths.chosenByUser = appDirOverride.has_value();
        paths.configFile = dir + "/Config.ini";
        paths.languageDir = LanguageDirFor(dir, exeDir);
        paths.logDir = dir + "/Log";
        return paths;
    }
    paths.programDir = exeDir;
    paths.configFile = UserConfigDir() + "/Config.ini";
    paths.languageDir = LanguageDirFor(UserDataDir(), exeDir);
    paths.logDir = UserDataDir() + "/Log";
    return paths;
}

}  // namespace zephran
