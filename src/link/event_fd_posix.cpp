// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/event_fd.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace zephran {

EventFd::EventFd() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventFd::~EventFd() {
    if (fd_ >= 0) close(fd_);
}

void EventFd::Signal() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(fd_, &one, sizeof one);
}

void EventFd::Clear() const {
    std::uint64_t count;
    [[maybe_unused]] const ssize_t n = read(fd_, &count, sizeof count);
}

}  // namespace zephran
