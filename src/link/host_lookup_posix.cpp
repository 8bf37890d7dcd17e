// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/host_lookup_posix.h"

#include <netdb.h>

#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "link/event_fd.h"

namespace zephran {

struct HostLookup::Answer {
    EventFd ready;
    mutable std::mutex mutex;
    std::vector<SocketAddress> addresses;
    std::string error;
};

HostLookup::HostLookup(const std::string& host, std::uint16_t port)
    : answer_(std::make_shared<Answer>()) {
    const auto look = [host, port, answer = answer_] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const int status = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
        {
            const std::lock_guard lock(answer->mutex);
            if (status != 0) {
                answer->error = status == EAI_SYSTEM ? std::system_category().message(errno)
                                                     : gai_strerror(status);
            }
            for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
                SocketAddress address;
                std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
                address.length = a->ai_addrlen;
                address.family = a->ai_family;
                answer->addresses.push_back(address);
            }
        }
        if (found != nullptr) freeaddrinfo(found);
        answer->ready.Signal();
    };
    try {
        std::thread(look).detach();
    } catch (const std::system_error& error) {
        const std::lock_guard lock(answer_->mutex);
        answer_->error = error.what();
        answer_->ready.Signal();
    }
}

HostLookup::~HostLookup() = default;

int HostLookup::ReadyFd() const {
    return answer_->ready.Fd();
}

std::vector<SocketAddress> HostLookup::Addresses() const {
    const std::lock_guard lock(answer_->mutex);
    return answer_->addresses;
}

std::string HostLookup::Error() const {
    const std::lock_guard lock(answer_->mutex);
    return answer_->error;
}

}  // namespace zephran
