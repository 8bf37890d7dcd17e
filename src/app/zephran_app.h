#pragma once

#include "app/settings_file.h"
#include "platform/app_paths.h"

namespace zephran {

// The application object: it owns the program's paths and settings file for the process.
class CZephranApp {
public:
    explicit CZephranApp(AppPaths paths);

    // Start-up before the main dialog: makes sure Config.ini exists with every key.
    void PrepareSettings() const;

    const AppPaths& Paths() const { return paths_; }
    const SettingsFile& Settings() const { return settings_; }

private:
    AppPaths paths_;
    SettingsFile settings_;
};

}  // namespace zephran
