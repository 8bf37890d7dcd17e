// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/network_transport.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

#include "link/host_lookup_posix.h"

namespace zephran {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 4096;

std::string ErrnoText(int error) {
    return std::system_category().message(error);
}

// Milliseconds for poll until deadline; none is -1, no time left is 0.
int MillisUntil(std::optional<Clock::time_point> deadline) {
    if (!deadline) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 60'000));
}

int SocketError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
}

}  // namespace

NetworkTransport::NetworkTransport(PortAddress address, SerialPortOwner& owner, unsigned portNumber,
                                   std::chrono::milliseconds connectTimeout)
    : address_(std::move(address)),
      owner_(owner),
      portNumber_(portNumber),
      connectTimeout_(connectTimeout),
      events_(PortEventQueue::kSerialLineBytes) {}

NetworkTransport::~NetworkTransport() {
    Close();
}

bool NetworkTransport::Open(unsigned baud) {
    Close();
    if (!shutdown_.IsValid() || !writeRequest_.IsValid()) {
        failure_ = OpenFailure::Other;
        return false;
    }
    failure_ = OpenFailure::None;
    {
        const std::lock_guard lock(writeMutex_);
        writeQueue_.clear();
    }
    writeRequest_.Clear();
    events_.Reset(&owner_, portNumber_);
    open_.store(true);
    thread_ = std::thread(&NetworkTransport::Run, this, baud);
    return true;
}

void NetworkTransport::Close() {
    if (thread_.joinable()) {
        stopping_.store(true);
        shutdown_.Signal();
        thread_.join();
        shutdown_.Clear();
        stopping_.store(false);
    }
    open_.store(false);
}

bool NetworkTransport::Write(const std::uint8_t* bytes, std::size_t count) {
    if (!open_.load() || count > kWriteBufferSize) return false;
    {
        const std::lock_guard lock(writeMutex_);
        writeQueue_.emplace_back(bytes, bytes + count);
    }
    writeRequest_.Signal();
    return true;
}

void NetworkTransport::Run(unsigned baud) {
    lostStep_.clear();
    lostText_.clear();
    const int fd = Connect(Clock::now() + connectTimeout_);
    if (fd >= 0) {
        Exchange(fd, baud);
        close(fd);
    }
    open_.store(false);
    if (!stopping_.load()) {
        events_.Push({.kind = PortEvent::Kind::Lost,
                      .portNumber = portNumber_,
                      .step = lostStep_,
                      .text = lostText_});
    }
}

NetworkTransport::Wait NetworkTransport::WaitFor(int fd, short events, Deadline deadline) {
    for (;;) {
        std::array<pollfd, 2> fds = {{{shutdown_.Fd(), POLLIN, 0}, {fd, events, 0}}};
        const int n = poll(fds.data(), fds.size(), MillisUntil(deadline));
        if (n < 0 && errno == EINTR) continue;
        if (fds[0].revents != 0) return Wait::kStopped;
        if (n > 0) return Wait::kReady;
        return Wait::kTimedOut;
    }
}

int NetworkTransport::Connect(Deadline deadline) {
    const HostLookup lookup(address_.host, address_.port);
    switch (WaitFor(lookup.ReadyFd(), POLLIN, deadline)) {
        case Wait::kStopped:
            return -1;
        case Wait::kTimedOut:
            Lose("getaddrinfo()", ErrnoText(ETIMEDOUT));
            return -1;
        case Wait::kReady:
            break;
    }
    if (const std::string error = lookup.Error(); !error.empty()) {
        Lose("getaddrinfo()", error);
        return -1;
    }
    // Each address in turn, as long as time is left; the last failure is the one reported.
    int error = EADDRNOTAVAIL;
    for (const SocketAddress& address : lookup.Addresses()) {
        const int fd = socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            error = errno;
            continue;
        }
        error = connect(fd, address.Get(), address.length) == 0 ? 0 : errno;
        if (error == EINPROGRESS) {
            switch (WaitFor(fd, POLLOUT, deadline)) {
                case Wait::kStopped:
                    close(fd);
                    return -1;
                case Wait::kTimedOut:
                    error = ETIMEDOUT;
                    break;
                case Wait::kReady:
                    error = SocketError(fd);
                    break;
            }
        }
        if (error == 0) return fd;
        close(fd);
        if (error == ETIMEDOUT) break;
    }
    Lose("connect()", ErrnoText(error));
    return -1;
}

void NetworkTransport::Exchange(int fd, unsigned baud) {
    // Frames are small and each one waits for its answer: send them at once.
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    wire_.clear();
    sent_ = 0;
    telnet_.reset();
    negotiationReported_ = false;
    if (address_.kind == PortAddress::Kind::kRfc2217) {
        telnet_.emplace();
        wire_ = telnet_->Opening(baud);
    }
    const Deadline negotiationEnd = Clock::now() + kNegotiationWait;
    for (;;) {
        const bool held = Held(negotiationEnd);
        if (!held && sent_ == wire_.size()) TakeWrites();
        const bool sending = sent_ < wire_.size();
        // Close first, then the connection, then write requests.
        std::array<pollfd, 3> fds = {{
            {shutdown_.Fd(), POLLIN, 0},
            {fd, static_cast<short>(POLLIN | (sending ? POLLOUT : 0)), 0},
            {writeRequest_.Fd(), POLLIN, 0},
        }};
        const int timeout = MillisUntil(held ? std::optional(negotiationEnd) : std::nullopt);
        if (poll(fds.data(), fds.size(), timeout) < 0) {
            if (errno == EINTR) continue;
            Lose("poll()", ErrnoText(errno));
            return;
        }
        if (fds[0].revents != 0) return;
        const short connection = fds[1].revents;
        if ((connection & POLLIN) != 0 && !Receive(fd)) return;
        if ((connection & POLLIN) == 0 && (connection & (POLLERR | POLLHUP)) != 0) {
            Lose("poll()", ErrnoText(SocketError(fd)));
            return;
        }
        if (fds[2].revents != 0) writeRequest_.Clear();
        if (!Send(fd)) return;
    }
}

bool NetworkTransport::Held(Deadline negotiationEnd) {
    if (!telnet_ || negotiationReported_ || telnet_->ComPortTaken()) return false;
    const bool refused = telnet_->ComPortRefused();
    if (!refused && Clock::now() < negotiationEnd) return true;
    // The bytes go anyway, at whatever rate the bridge's port runs.
    negotiationReported_ = true;
    Warn("RFC 2217", refused ? "the bridge refused the Com Port Control option"
                             : "the bridge did not answer the Com Port Control option");
    return false;
}

bool NetworkTransport::Receive(int fd) {
    std::vector<std::uint8_t> bytes(kReadChunk);
    const ssize_t n = recv(fd, bytes.data(), bytes.size(), 0);
    if (n == 0) {
        Lose("recv()", "the bridge closed the connection");
        return false;
    }
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) return true;
        Lose("recv()", ErrnoText(errno));
        return false;
    }
    bytes.resize(static_cast<std::size_t>(n));
    if (telnet_) {
        std::vector<std::uint8_t> data;
        telnet_->Receive(bytes, data, wire_);
        bytes = std::move(data);
    }
    if (!bytes.empty()) {
        events_.Push({.kind = PortEvent::Kind::Received,
                      .portNumber = portNumber_,
                      .bytes = std::move(bytes)});
    }
    return true;
}

bool NetworkTransport::Send(int fd) {
    while (sent_ < wire_.size()) {
        const ssize_t n =
            send(fd, wire_.data() + sent_, wire_.size() - sent_, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            sent_ += static_cast<std::size_t>(n);
        } else if (errno == EAGAIN) {
            return true;  // the rest goes when poll reports POLLOUT
        } else if (errno != EINTR) {
            Lose("send()", ErrnoText(errno));
            return false;
        }
    }
    wire_.clear();
    sent_ = 0;
    return true;
}

void NetworkTransport::TakeWrites() {
    std::deque<std::vector<std::uint8_t>> blocks;
    {
        const std::lock_guard lock(writeMutex_);
        blocks.swap(writeQueue_);
    }
    for (const std::vector<std::uint8_t>& block : blocks) {
        if (telnet_)
            Rfc2217Codec::Escape(block, wire_);
        else
            wire_.insert(wire_.end(), block.begin(), block.end());
    }
}

void NetworkTransport::Warn(const std::string& step, const std::string& text) {
    events_.Push(
        {.kind = PortEvent::Kind::Error, .portNumber = portNumber_, .step = step, .text = text});
}

void NetworkTransport::Lose(const std::string& step, const std::string& text) {
    lostStep_ = step;
    lostText_ = text;
}

}  // namespace zephran
