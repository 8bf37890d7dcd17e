// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace zephran {

bool CanWriteIn(const std::string& dir) {
    return ::access(dir.c_str(), W_OK) == 0;
}

std::string OpenForUpdateProblem(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return {};
}

std::tm LocalTime(std::time_t time) {
    std::tm broken{};
    localtime_r(&time, &broken);
    return broken;
}

std::tm UniversalTime(std::time_t time) {
    std::tm broken{};
    gmtime_r(&time, &broken);
    return broken;
}

}  // namespace zephran
