// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zephran {

// An eventfd used as a flag between threads: Signal raises it, Clear lowers it, and poll sees it
// readable while it is raised.
class EventFd {
public:
    EventFd();
    ~EventFd();
    EventFd(const EventFd&) = delete;
    EventFd& operator=(const EventFd&) = delete;

    bool IsValid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    void Signal() const;
    void Clear() const;

private:
    int fd_;
};

}  // namespace zephran
