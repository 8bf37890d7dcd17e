// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zephran {

// The system's text for a Windows error code, in UTF-8 without the closing line break.
std::string WindowsErrorText(unsigned long code);

}  // namespace zephran
