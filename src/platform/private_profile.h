#pragma once

#include <string>
#include <string_view>

// Private-profile settings files: "[Section]" headers and "key=value" lines.
// Section and key names compare case-insensitively (ASCII) with surrounding blanks ignored; a
// value loses surrounding blanks and one pair of matching quotes. The first matching section and
// the first matching key in it win. A write edits the file in place: it creates the file, the
// section and the key as needed and leaves every other line exactly as it was.
namespace zephran {

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path);

// The leading decimal number (optional sign) of the value; the default when the key is absent or
// its value does not start with a number.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& path);

// The leading decimal number of a value as GetPrivateProfileInt reads it.
int ParseProfileInt(std::string_view value, int defaultValue);

// False when the file cannot be read or written.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

}  // namespace zephran
