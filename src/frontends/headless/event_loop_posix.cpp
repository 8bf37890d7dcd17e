// SPDX-License-Identifier: GPL-3.0-or-later
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "frontends/headless/event_loop.h"

namespace zephran::headless {
namespace {

// Wake-ups on an eventfd; input waited for with poll.
class PollWaiter : public EventLoop::Waiter {
public:
    PollWaiter() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~PollWaiter() override {
        if (wakeFd_ >= 0) close(wakeFd_);
    }
    PollWaiter(const PollWaiter&) = delete;
    PollWaiter& operator=(const PollWaiter&) = delete;

    void Signal() override {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
    }

    bool TakeSignal() override {
        std::uint64_t count = 0;
        return read(wakeFd_, &count, sizeof count) == sizeof count;
    }

    void WaitSignal(int timeoutMs) override {
        pollfd wake{wakeFd_, POLLIN, 0};
        poll(&wake, 1, timeoutMs);
    }

    bool WaitSignalOrInput(int fd, int timeoutMs) override {
        std::array<pollfd, 2> fds{{{wakeFd_, POLLIN, 0}, {fd, POLLIN, 0}}};
        const int ready = poll(fds.data(), fds.size(), timeoutMs);
        // A failing poll leaves it to the read to report the trouble.
        return ready < 0 ? errno != EINTR : fds[1].revents != 0;
    }

    std::optional<long> Read(int fd, char* buffer, std::size_t size) override {
        const ssize_t count = read(fd, buffer, size);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) return std::nullopt;
        return static_cast<long>(count);
    }

private:
    int wakeFd_;
};

}  // namespace

std::unique_ptr<EventLoop::Waiter> MakeWaiter() {
    return std::make_unique<PollWaiter>();
}

}  // namespace zephran::headless
