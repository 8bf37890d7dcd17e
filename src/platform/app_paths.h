#pragma once

#include <optional>
#include <string>

namespace zephran {

// Where the program keeps its files.
struct AppPaths {
    std::string programDir;  // the executable's directory (or the --app-dir folder)
    std::string configFile;  // Config.ini
    std::string languageDir;
    std::string logDir;
    std::string profileFile;    // the per-user profile holding the language choice
    bool chosenByUser = false;  // the folder came from --app-dir, not from the program
};

// The executable's directory, without a trailing separator.
std::string ExecutableDir();

// Where an installed program's languages lie, from the folder above its executable's.
inline constexpr const char* kInstalledLanguageDir = "share/zephran/Language";

// Config.ini, Language/ and Log/ beside the executable when its directory is writable and not
// an installed layout (bin/ beside share/zephran/Language), else in the user's folders. An
// override folder takes all three. Languages come from the chosen folder's Language/ when it
// has one, else from the ones shipped with the program.
AppPaths ResolveAppPaths(const std::optional<std::string>& appDirOverride);
// The same for an executable in exeDir.
AppPaths ResolveAppPathsFor(const std::string& exeDir,
                            const std::optional<std::string>& appDirOverride);

// The user's settings folder: $XDG_CONFIG_HOME/ZephranFPV (default ~/.config/ZephranFPV);
// %APPDATA%\ZephranFPV on Windows.
std::string UserConfigDir();
// The user's data folder: $XDG_DATA_HOME/ZephranFPV (default ~/.local/share/ZephranFPV);
// %LOCALAPPDATA%\ZephranFPV on Windows.
std::string UserDataDir();

// Creates the folder and its parents; true when it exists afterwards.
bool MakeDirectories(const std::string& dir);

}  // namespace zephran
