// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zephran {

// One address a host name stands for, ready for connect().
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_UNSPEC;

    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

// A host's addresses looked up on a thread of its own, so that whoever waits for them can give
// up at any time: an abandoned lookup finishes alone and its answer is dropped.
class HostLookup {
public:
    // Starts looking up host (a name or a numeric address, IPv6 without brackets) with port.
    HostLookup(const std::string& host, std::uint16_t port);
    ~HostLookup();
    HostLookup(const HostLookup&) = delete;
    HostLookup& operator=(const HostLookup&) = delete;

    // Readable once the answer is in.
    int ReadyFd() const;
    // Once ready: the addresses in the resolver's order, or why there are none.
    std::vector<SocketAddress> Addresses() const;
    std::string Error() const;

private:
    struct Answer;
    std::shared_ptr<Answer> answer_;
};

}  // namespace zephran
