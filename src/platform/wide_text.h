// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zephran {

// UTF-8 and the UTF-16 of the Windows system calls; invalid sequences become U+FFFD.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace zephran
