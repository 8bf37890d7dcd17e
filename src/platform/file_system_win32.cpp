// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/windows_error.h"

namespace zephran {

// Windows keeps no write permission on folders that a call could ask about (the read-only
// attribute of a folder means nothing): a file created and deleted there answers.
bool CanWriteIn(const std::string& dir) {
    const std::filesystem::path probe =
        PathFromUtf8(dir) / ("zephran-write-test-" + std::to_string(ProcessId()));
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string OpenForUpdateProblem(const std::string& path) {
    const HANDLE file =
        CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WindowsErrorText(GetLastError());
    CloseHandle(file);
    return {};
}

std::tm LocalTime(std::time_t time) {
    std::tm broken{};
    localtime_s(&broken, &time);
    return broken;
}

std::tm UniversalTime(std::time_t time) {
    std::tm broken{};
    gmtime_s(&broken, &time);
    return broken;
}

}  // namespace zephran
