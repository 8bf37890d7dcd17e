#pragma once

#include <string>
#include <string_view>

namespace zephran {

bool IsValidUtf8(std::string_view bytes);

// GB18030 (a superset of the Chinese ANSI code page) to UTF-8; a byte that starts no valid
// sequence becomes U+FFFD.
std::string Gb18030ToUtf8(std::string_view bytes);

}  // namespace zephran
