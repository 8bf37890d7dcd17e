// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/event_fd.h"
#include "link/port_address.h"
#include "link/port_event_queue.h"
#include "link/rfc2217_codec.h"
#include "link/transport.h"

namespace zephran {

// A serial bridge on the network, over raw TCP or over Telnet with the Com Port Control option
// (RFC 2217). Open returns at once: the name lookup, the connect and every read and write happen
// on the transport's own thread. A host that cannot be found or reached, a connect that takes
// too long and a connection closed or reset end the link as an unplugged adapter does: an Error
// event saying why, then Lost.
class NetworkTransport : public Transport {
public:
    static constexpr std::chrono::milliseconds kConnectTimeout{3000};
    // How long the board's bytes wait for an RFC 2217 bridge to take the line settings.
    static constexpr std::chrono::milliseconds kNegotiationWait{1000};

    // address must name a network bridge. connectTimeout bounds the lookup and the connect.
    NetworkTransport(PortAddress address, SerialPortOwner& owner, unsigned portNumber,
                     std::chrono::milliseconds connectTimeout = kConnectTimeout);
    ~NetworkTransport() override;
    NetworkTransport(const NetworkTransport&) = delete;
    NetworkTransport& operator=(const NetworkTransport&) = delete;

    bool Open(unsigned baud) override;
    void Close() override;
    bool Write(const std::uint8_t* bytes, std::size_t count) override;
    std::vector<PortEvent> TakeEvents() override { return events_.Take(); }
    OpenFailure LastFailure() const override { return failure_; }
    std::string Name() const override { return address_.Text(); }

private:
    using Deadline = std::chrono::steady_clock::time_point;
    enum class Wait { kReady, kStopped, kTimedOut };

    void Run(unsigned baud);
    // The connected socket, or -1 when stopped or failed (the failure reported).
    int Connect(Deadline deadline);
    // Waits for events on fd, or for Close, until deadline.
    Wait WaitFor(int fd, short events, Deadline deadline);
    // Moves bytes both ways until Close or until the connection fails (reported).
    void Exchange(int fd, unsigned baud);
    // Reads what is waiting; false when the connection has ended.
    bool Receive(int fd);
    // Sends from wire_; false when the connection has ended.
    bool Send(int fd);
    // Takes the queued blocks into wire_, escaped for the bridge.
    void TakeWrites();
    // Whether the board's bytes still wait for the bridge to take the line settings.
    bool Held(Deadline negotiationEnd);
    // A problem the link goes on with: an Error event.
    void Warn(const std::string& step, const std::string& text);
    // Why the link ends: carried by its Lost event.
    void Lose(const std::string& step, const std::string& text);

    const PortAddress address_;
    SerialPortOwner& owner_;
    const unsigned portNumber_;
    const std::chrono::milliseconds connectTimeout_;
    OpenFailure failure_ = OpenFailure::None;

    EventFd shutdown_;
    EventFd writeRequest_;
    std::thread thread_;
    std::atomic<bool> open_{false};
    std::atomic<bool> stopping_{false};

    std::mutex writeMutex_;
    std::deque<std::vector<std::uint8_t>> writeQueue_;

    // The transport thread's own: the Telnet side of an RFC 2217 link, and the bytes on their
    // way to the bridge with how many of them have gone.
    std::optional<Rfc2217Codec> telnet_;
    bool negotiationReported_ = false;
    std::string lostStep_, lostText_;
    std::vector<std::uint8_t> wire_;
    std::size_t sent_ = 0;

    PortEventQueue events_;
};

}  // namespace zephran
