// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zephran {

// The command line in UTF-8: argv itself where the system passes UTF-8, the wide-character
// command line converted on Windows.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace zephran
