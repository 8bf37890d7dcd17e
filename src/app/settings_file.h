#pragma once

#include <array>
#include <string>
#include <string_view>

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

// Config.ini. Every read goes to the file: values are never cached.
class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // The value, or the empty text when the key is absent.
    std::string ReadText(std::string_view section, std::string_view key) const;
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;

    // Start-up: creates the file when it is missing and writes the default of every key that is
    // absent or empty, in table order. Existing values are never changed.
    void EnsureDefaults() const;

private:
    std::string path_;
};

}  // namespace zephran
