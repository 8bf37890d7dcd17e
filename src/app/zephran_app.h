#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/app_paths.h"
#include "session/settings_file.h"

namespace zephran {

// The application object: it owns the program's paths and settings file for the process.
class CZephranApp {
public:
    explicit CZephranApp(AppPaths paths);

    // Start-up before the main dialog: makes sure Config.ini exists with every key. A Config.ini
    // in the program's own folder that cannot hold the settings is replaced by the per-user one;
    // one the user's folder holds is not, and the settings then last for the session. Returns
    // what the user is to be told about it, and about values put back to their defaults, in one
    // text; empty when all is well.
    std::string PrepareSettings();

    const AppPaths& Paths() const { return paths_; }
    const SettingsFile& Settings() const { return settings_; }

private:
    AppPaths paths_;
    SettingsFile settings_;
};

}  // namespace zephran
