#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zephran {

// The bytes of a file of at most limit bytes; nothing when it cannot be read or is larger.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit);

// Replaces a file's bytes through a temporary file beside it, so that a failed write never
// leaves half a file; where no file can be made beside it, writes it in place. False on failure.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

}  // namespace zephran
