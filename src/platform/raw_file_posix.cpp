// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/raw_file.h"

namespace zephran {

int CreateNewFile(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

int CreateOrEmptyFile(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

long WriteToFile(int fd, const std::uint8_t* bytes, std::size_t count) {
    for (;;) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
}

bool TruncateFile(int fd, std::uint64_t size) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool CloseFile(int fd) {
    return ::close(fd) == 0;
}

}  // namespace zephran
