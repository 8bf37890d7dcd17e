// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_system.h"

namespace zephran {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(PathFromUtf8(path), error);
}

std::optional<std::uintmax_t> RegularFileSize(const std::string& path) {
    std::error_code error;
    const std::filesystem::path native = PathFromUtf8(path);
    if (!std::filesystem::is_regular_file(native, error)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(native, error);
    if (error) return std::nullopt;
    return size;
}

bool RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(PathFromUtf8(path), error);
    return !error;
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(PathFromUtf8(from), PathFromUtf8(to), error);
    return !error;
}

}  // namespace zephran
