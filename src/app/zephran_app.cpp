#include "app/zephran_app.h"

#include <filesystem>

#include "platform/file_system.h"

namespace zephran {
namespace {

// Where the settings go when the program's own Config.ini cannot hold them: the per-user file,
// which takes the values of the old one when it is new. Nothing when that fails too.
std::optional<SettingsFile> UserSettingsFile(const std::string& oldFile) {
    const std::string userFile = UserConfigDir() + "/Config.ini";
    if (userFile == oldFile || !MakeDirectories(UserConfigDir())) return std::nullopt;
    std::error_code error;
    if (std::filesystem::is_regular_file(PathFromUtf8(oldFile), error)) {
        std::filesystem::copy_file(PathFromUtf8(oldFile), PathFromUtf8(userFile),
                                   std::filesystem::copy_options::skip_existing, error);
    }
    SettingsFile settings(userFile);
    if (!settings.Problem().empty()) return std::nullopt;
    return settings;
}

}  // namespace

CZephranApp::CZephranApp(AppPaths paths) : paths_(std::move(paths)), settings_(paths_.configFile) {}

std::string CZephranApp::PrepareSettings() {
    std::string told;
    MakeDirectories(Utf8FromPath(PathFromUtf8(paths_.configFile).parent_path()));
    if (const std::string problem = settings_.Problem(); !problem.empty()) {
        told = "Settings cannot be saved in " + paths_.configFile + ": " + problem + ".";
        std::optional<SettingsFile> userSettings;
        if (!paths_.chosenByUser) userSettings = UserSettingsFile(paths_.configFile);
        if (userSettings) {
            settings_ = std::move(*userSettings);
            paths_.configFile = settings_.Path();
            told += "\nThey are kept in " + paths_.configFile + " instead.";
        } else {
            told += "\nChanges last until the program ends.";
        }
    }
    settings_.EnsureDefaults();
    for (const std::string& line : settings_.RepairValues())
        told += (told.empty() ? "" : "\n") + settings_.Path() + ": " + line;
    return told;
}

}  // namespace zephran
