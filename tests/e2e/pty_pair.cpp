#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace zephran::test {

PtyPair::PtyPair() {
    std::array<char, 64> name{};
    if (openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    slavePath_ = name.data();
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    CloseMaster();
    if (slave_ >= 0) close(slave_);
}

void PtyPair::CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

bool PtyPair::MakeSlaveRaw() {
    termios line{};
    if (slave_ < 0 || tcgetattr(slave_, &line) != 0) return false;
    cfmakeraw(&line);
    return tcsetattr(slave_, TCSANOW, &line) == 0;
}

std::size_t PtyPair::Pending() const {
    int count = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<std::size_t>(count);
}

bool PtyPair::WaitMaster(short events, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{master_, events, 0};
    return poll(&fd, 1, static_cast<int>(left.count())) == 1 && (fd.revents & events) != 0;
}

bool PtyPair::WriteAll(const std::uint8_t* bytes, std::size_t count,
                       std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (count > 0) {
        const ssize_t n = write(master_, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<std::size_t>(n);
        } else if (errno != EAGAIN || !WaitMaster(POLLOUT, deadline)) {
            return false;
        }
    }
    return true;
}

bool PtyPair::ReadExactly(std::vector<std::uint8_t>& out, std::size_t count,
                          std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    out.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = read(master_, out.data() + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EAGAIN || !WaitMaster(POLLIN, deadline)) {
            return false;
        }
    }
    return true;
}

}  // namespace zephran::test
