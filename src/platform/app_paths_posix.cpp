// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <filesystem>

#include "platform/app_paths.h"

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

}  // namespace zephran
