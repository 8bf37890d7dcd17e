// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zephran {

// A file written through a descriptor, for a writer thread that wants each write's outcome.
// Failures set errno.

// Creates path for writing only; -1 when it cannot, with errno EEXIST when it exists.
int CreateNewFile(const std::string& path);
// Creates path for writing only, or empties it when it exists; -1 when it cannot.
int CreateOrEmptyFile(const std::string& path);
// The bytes written, or -1.
long WriteToFile(int fd, const std::uint8_t* bytes, std::size_t count);
bool TruncateFile(int fd, std::uint64_t size);
bool CloseFile(int fd);

}  // namespace zephran
