// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/wide_text.h"
#include "platform/windows_error.h"

namespace zephran {

std::string WindowsErrorText(unsigned long code) {
    LPWSTR buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::string text = length > 0 ? Utf8FromWide(std::wstring(buffer, length))
                                  : "Windows error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace zephran
