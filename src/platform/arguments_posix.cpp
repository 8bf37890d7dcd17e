// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/arguments.h"

namespace zephran {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace zephran
