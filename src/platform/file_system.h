// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace zephran {

// Paths are UTF-8 strings inside the program; these turn them into the standard library's
// path type (wide characters on Windows) and back.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

bool PathExists(const std::string& path);
// A regular file's size; nothing for a folder, a device or a missing file.
std::optional<std::uintmax_t> RegularFileSize(const std::string& path);
// Whether this process may create files in the folder.
bool CanWriteIn(const std::string& dir);
// Removes a file; true when it is gone.
bool RemoveFile(const std::string& path);
// Renames over an existing file.
bool RenameFile(const std::string& from, const std::string& to);
// Why the file cannot be opened for reading and writing (created when missing), in the system's
// words; empty when it can.
std::string OpenForUpdateProblem(const std::string& path);

// The broken-down local and universal times of a moment.
std::tm LocalTime(std::time_t time);
std::tm UniversalTime(std::time_t time);

}  // namespace zephran
