// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>

#include "platform/app_paths.h"
#include "platform/file_system.h"
#include "platform/wide_text.h"

namespace zephran {
namespace {

// ZephranFPV in the folder the environment variable names, else in the known folder, else in
// the current folder.
std::string UserDir(const wchar_t* variable, REFKNOWNFOLDERID folder) {
    std::wstring value(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(variable, value.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        value.resize(length);
        length = GetEnvironmentVariableW(variable, value.data(), length);
    }
    std::string dir;
    if (length > 0 && length < value.size()) {
        value.resize(length);
        dir = Utf8FromWide(value);
    } else {
        PWSTR path = nullptr;
        if (SHGetKnownFolderPath(folder, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
            dir = Utf8FromWide(path);
        } else {
            dir = Utf8FromPath(std::filesystem::current_path());
        }
        CoTaskMemFree(path);
    }
    return dir + "\\ZephranFPV";
}

}  // namespace

std::string ExecutableDir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return Utf8FromPath(std::filesystem::current_path());
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Utf8FromPath(std::filesystem::path(path).parent_path());
}

std::string UserConfigDir() {
    return UserDir(L"APPDATA", FOLDERID_RoamingAppData);
}

std::string UserDataDir() {
    return UserDir(L"LOCALAPPDATA", FOLDERID_LocalAppData);
}

}  // namespace zephran
