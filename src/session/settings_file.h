#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zephran {

struct SettingDefault {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// The keys of Config.ini with the defaults written at start-up, in the order they are written.
inline constexpr std::array<SettingDefault, 6> kSettingDefaults{{
    {"PCSetting", "PortScanMode", "Auto"},
    {"PCSetting", "Com", "1"},
    {"PCSetting", "bps", "115200"},
    {"AHRSSetting", "bps", "115200"},
    {"AHRSSetting", "OutputRate", "50"},
    {"ProductSetting", "Product", "Vantrel"},
}};

// Config.ini. Every read goes to the file: values are never cached. A value that cannot be
// written to the file is kept by this object instead and read back from it for the session,
// and while the file cannot be read at all the keys of the table read as their defaults, so a
// broken file never turns a setting into nonsense (a port opened at 12 baud).
class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // The value, or the empty text when the key is absent.
    std::string ReadText(std::string_view section, std::string_view key) const;
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    // False when the file could not take the value (it is kept in memory then).
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;

    // Why the file cannot hold the settings (it is a folder, it cannot be created, read or
    // written), or the empty text when it can. Creates a missing file to find out.
    std::string Problem() const;

    // Start-up: creates the file when it is missing and writes the default of every key that is
    // absent or empty, in table order. Existing values are never changed.
    void EnsureDefaults() const;
    // Start-up: a baud rate or port number that is no positive number goes back to its default;
    // returns one line for each value put back.
    std::vector<std::string> RepairValues() const;

private:
    using Key = std::pair<std::string, std::string>;

    std::string path_;
    mutable std::map<Key, std::string> unsaved_;
};

}  // namespace zephran
