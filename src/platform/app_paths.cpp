#include "platform/app_paths.h"

#include <unistd.h>
#include <cstdlib>
#include <filesystem>

namespace zephran {
namespace {

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    return (home && *home) ? home : "/tmp";
}

std::string XdgDir(const char* variable, const char* fallbackBelowHome) {
    const char* value = std::getenv(variable);
    const std::string base = (value && *value == '/') ? value : HomeDir() + fallbackBelowHome;
    return base + "/ZephranFPV";
}

// The folder's own Language/ when it has one, else the languages shipped beside the executable.
std::string LanguageDirFor(const std::string& dir, const std::string& exeDir) {
    std::error_code error;
    const std::string own = dir + "/Language";
    return std::filesystem::is_directory(own, error) ? own : exeDir + "/Language";
}

}  // namespace

std::string ExecutableDir() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

std::string UserConfigDir() {
    return XdgDir("XDG_CONFIG_HOME", "/.config");
}

std::string UserDataDir() {
    return XdgDir("XDG_DATA_HOME", "/.local/share");
}

bool MakeDirectories(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return std::filesystem::is_directory(dir, error);
}

AppPaths ResolveAppPaths(const std::optional<std::string>& appDirOverride) {
    AppPaths paths;
    paths.profileFile = UserConfigDir() + "/profile.ini";
    const std::string exeDir = ExecutableDir();
    if (appDirOverride || ::access(exeDir.c_str(), W_OK) == 0) {
        std::string dir = appDirOverride ? *appDirOverride : exeDir;
        while (dir.size() > 1 && dir.back() == '/')
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
