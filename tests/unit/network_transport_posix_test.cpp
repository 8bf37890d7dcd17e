// SPDX-License-Identifier: GPL-3.0-or-later
// The network transports against a bridge played by the test on a loopback socket.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/network_transport.h"
#include "link/network_transport_factory.h"
#include "link/port_address.h"
#include "support/transport_watcher.h"

namespace zephran {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Kind = PortEvent::Kind;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kIac = 255, kSb = 250, kSe = 240, kWill = 251, kDo = 253, kDont = 254;
constexpr std::uint8_t kComPort = 44;

// An owned socket.
class Socket {
public:
    explicit Socket(int fd = -1) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Socket& operator=(Socket&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }

    bool Send(const Bytes& bytes) const {
        return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    // Reads until count bytes have come or timeout has passed; returns what came.
    Bytes Read(std::size_t count, std::chrono::milliseconds timeout = 2s) const {
        Bytes got;
        const auto deadline = Clock::now() + timeout;
        while (got.size() < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) != 1) break;
            std::uint8_t buffer[4096];
            const ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, count - got.size()), 0);
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

private:
    int fd_;
};

// A listening socket on a loopback address and an ephemeral port.
class Listener {
public:
    explicit Listener(int family = AF_INET, int backlog = 8)
        : socket_(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_storage address{};
        socklen_t length;
        if (family == AF_INET6) {
            auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
            v6.sin6_family = AF_INET6;
            v6.sin6_addr = in6addr_loopback;
            length = sizeof v6;
        } else {
            auto& v4 = reinterpret_cast<sockaddr_in&>(address);
            v4.sin_family = AF_INET;
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            length = sizeof v4;
        }
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (bind(socket_.Fd(), raw, length) != 0 || listen(socket_.Fd(), backlog) != 0 ||
            getsockname(socket_.Fd(), raw, &length) != 0) {
            socket_ = Socket();
            return;
        }
        port_ = ntohs(family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                                         : reinterpret_cast<sockaddr_in&>(address).sin_port);
    }

    bool IsValid() const { return socket_.IsOpen(); }
    std::uint16_t Port() const { return port_; }
    void Stop() { socket_ = Socket(); }

    // The next connection, or none within timeout.
    Socket Accept(std::chrono::milliseconds timeout = 2s) const {
        pollfd p{socket_.Fd(), POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(timeout.count())) != 1) return Socket();
        return Socket(accept4(socket_.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
    }

    // Fills the queue of connections waiting to be accepted, so that a further connect gets no
    // answer; false if the queue never fills.
    bool FillBacklog() {
        if (listen(socket_.Fd(), 0) != 0) return false;
        for (int i = 0; i < 8; ++i) {
            Socket client(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            to.sin_port = htons(port_);
            connect(client.Fd(), reinterpret_cast<sockaddr*>(&to), sizeof to);
            pollfd p{client.Fd(), POLLOUT, 0};
            const bool answered = poll(&p, 1, 100) == 1;
            fillers_.push_back(std::move(client));
            if (!answered) return true;
        }
        return false;
    }

private:
    Socket socket_;
    std::uint16_t port_ = 0;
    std::vector<Socket> fillers_;
};

PortAddress Address(const std::string& text) {
    const ParsedPortAddress parsed = ParsePortAddress(text);
    EXPECT_TRUE(parsed.Ok()) << parsed.error;
    return parsed.address;
}

std::string Loopback(const char* scheme, std::uint16_t port) {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port);
}

// The position of needle in haystack, or npos.
std::size_t Find(const Bytes& haystack, const Bytes& needle) {
    const auto at = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return at == haystack.end() ? std::string::npos
                                : static_cast<std::size_t>(at - haystack.begin());
}

class NetworkTransportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(listener.IsValid()); }

    // The transport of address, opened at 115200 baud.
    NetworkTransport& Open(const std::string& address,
                           std::chrono::milliseconds timeout = NetworkTransport::kConnectTimeout) {
        transport = std::make_unique<NetworkTransport>(Address(address), watcher, 7, timeout);
        EXPECT_TRUE(transport->Open(115200));
        return *transport;
    }

    bool Receive(std::size_t count) {
        return watcher.WaitUntil(*transport, [&] { return watcher.received.size() >= count; });
    }

    // The last event is the loss with its reason, and nothing went wrong before it.
    void ExpectLostBecause(const std::string& reason) {
        ASSERT_TRUE(watcher.WaitForLost(*transport));
        const PortEvent& lost = watcher.events.back();
        EXPECT_EQ(lost.kind, Kind::Lost);
        EXPECT_EQ(lost.portNumber, 7u);
        EXPECT_NE((lost.step + ": " + lost.text).find(reason), std::string::npos)
            << lost.step << ": " << lost.text;
        EXPECT_EQ(watcher.Count(Kind::Error), 0u) << watcher.FirstError();
        const Bytes block{1, 2, 3};
        EXPECT_FALSE(transport->Write(block.data(), block.size()));
    }

    Listener listener;
    testing::TransportWatcher watcher;
    std::unique_ptr<NetworkTransport> transport;
};

using NetworkTcpTest = NetworkTransportTest;

TEST_F(NetworkTcpTest, CarriesBytesBothWaysUnchangedAndInOrder) {
    NetworkTransport& tcp = Open("socket://127.0.0.1:" + std::to_string(listener.Port()));
    EXPECT_EQ(tcp.Name(), Loopback("tcp", listener.Port()));
    EXPECT_EQ(tcp.LastFailure(), OpenFailure::None);
    // Written before the bridge has even accepted: the blocks wait for the connection.
    Bytes sent;
    for (int i = 0; i < 50; ++i) {
        const Bytes block(static_cast<std::size_t>(i * 40), static_cast<std::uint8_t>(250 + i % 6));
        ASSERT_TRUE(tcp.Write(block.data(), block.size()));
        sent.insert(sent.end(), block.begin(), block.end());
    }
    const Bytes tooLong(Transport::kWriteBufferSize + 1, 0);
    EXPECT_FALSE(tcp.Write(tooLong.data(), tooLong.size()));
    const Socket bridge = listener.Accept();
    ASSERT_TRUE(bridge.IsOpen());
    EXPECT_EQ(bridge.Read(sent.size()), sent);

    Bytes inbound(3000);
    for (std::size_t i = 0; i < inbound.size(); ++i)
        inbound[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(bridge.Send(inbound));
    ASSERT_TRUE(Receive(inbound.size()));
    EXPECT_EQ(watcher.received, inbound);
    EXPECT_GT(watcher.wakeUps.load(), 0);
    EXPECT_EQ(watcher.Count(Kind::Error), 0u) << watcher.FirstError();
}

TEST_F(NetworkTcpTest, ConnectsToAHostNameAndToABracketedIpv6Address) {
    Open("tcp://localhost:" + std::to_string(listener.Port()));
    Socket bridge = listener.Accept();
    ASSERT_TRUE(bridge.IsOpen());
    ASSERT_TRUE(bridge.Send({0x54, 0x4D}));
    EXPECT_TRUE(Receive(2));

    Listener v6(AF_INET6);
    if (!v6.IsValid()) GTEST_SKIP() << "no IPv6 loopback on this machine";
    watcher.received.clear();
    NetworkTransport& tcp = Open("tcp://[::1]:" + std::to_string(v6.Port()));
    EXPECT_EQ(tcp.Name(), "tcp://[::1]:" + std::to_string(v6.Port()));
    bridge = v6.Accept();
    ASSERT_TRUE(bridge.IsOpen());
    ASSERT_TRUE(bridge.Send({9}));
    EXPECT_TRUE(Receive(1));
}

TEST_F(NetworkTcpTest, ReaderThatFallsBehindKeepsTheNewestBytes) {
    Open(Loopback("tcp", listener.Port()));
    const Socket bridge = listener.Accept();
    ASSERT_TRUE(bridge.IsOpen());
    Bytes flood(PortEventQueue::kSerialLineBytes * 3, 0x33);
    const Bytes last{1, 2, 3, 4};
    flood.insert(flood.end(), last.begin(), last.end());
    ASSERT_TRUE(bridge.Send(flood));
    // Nobody takes the events until the flood is in the transport's socket and a while after.
    for (const auto deadline = Clock::now() + 5s; Clock::now() < deadline;) {
        int unread = 0;
        if (ioctl(bridge.Fd(), TIOCOUTQ, &unread) != 0 || unread == 0) break;
        std::this_thread::sleep_for(10ms);
    }
    std::this_thread::sleep_for(200ms);
    std::size_t discarded = 0;
    for (const auto deadline = Clock::now() + 5s;
         discarded + watcher.received.size() < flood.size() && Clock::now() < deadline;) {
        const std::size_t before = watcher.received.size();
        const std::size_t firstNew = watcher.events.size();
        watcher.Drain(*transport);
        EXPECT_LE(watcher.received.size() - before, PortEventQueue::kSerialLineBytes);
        for (std::size_t i = firstNew; i < watcher.events.size(); ++i)
            discarded += watcher.events[i].discarded;
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_FALSE(watcher.events.empty());
    EXPECT_EQ(watcher.events.front().kind, Kind::Discarded);
    EXPECT_EQ(discarded + watcher.received.size(), flood.size());
    EXPECT_TRUE(std::equal(last.rbegin(), last.rend(), watcher.received.rbegin()));
}

TEST_F(NetworkTcpTest, RefusedConnectIsLostWithTheReason) {
    const std::uint16_t port = listener.Port();
    listener.Stop();
    Open(Loopback("tcp", port));
    ExpectLostBecause("connect(): Connection refused");
}

TEST_F(NetworkTcpTest, UnknownHostIsLostWithTheResolversReason) {
    Open("tcp://no-such-host.invalid:23", 1s);
    ExpectLostBecause("getaddrinfo()");
}

TEST_F(NetworkTcpTest, ConnectThatGetsNoAnswerTimesOut) {
    ASSERT_TRUE(listener.FillBacklog());
    const auto start = Clock::now();
    Open(Loopback("tcp", listener.Port()), 300ms);
    ExpectLostBecause("connect(): Connection timed out");
    EXPECT_GE(Clock::now() - start, 300ms);
    EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(NetworkTcpTest, CloseWhileConnectingReturnsAtOnceWithoutLoss) {
    ASSERT_TRUE(listener.FillBacklog());
    Open(Loopback("tcp", listener.Port()));
    std::this_thread::sleep_for(50ms);
    const auto start = Clock::now();
    transport->Close();
    EXPECT_LT(Clock::now() - start, 500ms);
    watcher.Drain(*transport);
    EXPECT_TRUE(watcher.events.empty());
}

TEST_F(NetworkTcpTest, BridgeClosingTheConnectionIsLostAndReopeningConnectsAgain) {
    Open(Loopback("tcp", listener.Port()));
    {
        const Socket bridge = listener.Accept();
        ASSERT_TRUE(bridge.Send({5, 6}));
        ASSERT_TRUE(Receive(2));
    }
    ExpectLostBecause("the bridge closed the connection");

    watcher.events.clear();
    watcher.received.clear();
    ASSERT_TRUE(transport->Open(115200));
    const Socket bridge = listener.Accept();
    ASSERT_TRUE(bridge.Send({7}));
    EXPECT_TRUE(Receive(1));
    EXPECT_EQ(watcher.received, Bytes{7});
}

TEST_F(NetworkTcpTest, ResetConnectionIsLost) {
    Open(Loopback("tcp", listener.Port()));
    {
        const Socket bridge = listener.Accept();
        ASSERT_TRUE(bridge.IsOpen());
        // Closing with a zero linger time resets the connection.
        const linger reset{1, 0};
        setsockopt(bridge.Fd(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
    ExpectLostBecause("Connection reset by peer");
}

TEST(NetworkTransportFactory, MakesATransportForNetworkAddressesOnly) {
    testing::TransportWatcher watcher;
    const auto tcp = MakeNetworkTransport(Address("rfc2217://[::1]:2217"), watcher, 1);
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->Name(), "rfc2217://[::1]:2217");
    EXPECT_FALSE(MakeNetworkTransport(Address("/dev/ttyUSB0"), watcher, 1));
}

using NetworkRfc2217Test = NetworkTransportTest;

// The bridge's side of the negotiation: it reads the client's opening and takes the options.
class TelnetBridge {
public:
    explicit TelnetBridge(Socket socket) : socket_(std::move(socket)) {}

    const Socket& Peer() const { return socket_; }
    // What came in, until needle has or timeout passed.
    Bytes ReadUntil(const Bytes& needle, std::chrono::milliseconds timeout = 2s) {
        const auto deadline = Clock::now() + timeout;
        while (Find(got_, needle) == std::string::npos && Clock::now() < deadline) {
            const Bytes more = socket_.Read(1, 100ms);
            got_.insert(got_.end(), more.begin(), more.end());
        }
        return got_;
    }
    Bytes ReadMore(std::size_t count) {
        const Bytes more = socket_.Read(count);
        got_.insert(got_.end(), more.begin(), more.end());
        return got_;
    }

private:
    Socket socket_;
    Bytes got_;
};

const Bytes kWillComPort{kIac, kWill, kComPort};

Bytes BaudCommand(unsigned baud) {
    return {kIac,
            kSb,
            kComPort,
            1,
            static_cast<std::uint8_t>(baud >> 24),
            static_cast<std::uint8_t>(baud >> 16),
            static_cast<std::uint8_t>(baud >> 8),
            static_cast<std::uint8_t>(baud),
            kIac,
            kSe};
}

TEST_F(NetworkRfc2217Test, SetsTheLineBeforeTheBoardsBytesGo) {
    NetworkTransport& rfc = Open(Loopback("rfc2217", listener.Port()));
    EXPECT_EQ(rfc.Name(), Loopback("rfc2217", listener.Port()));
    const Bytes frame{0x54, 0x4D, 12, 1, 0, 0, 0xAA, 0xBB};
    ASSERT_TRUE(rfc.Write(frame.data(), frame.size()));
    TelnetBridge bridge(listener.Accept());
    ASSERT_TRUE(bridge.Peer().IsOpen());
    Bytes got = bridge.ReadUntil(kWillComPort);
    ASSERT_NE(Find(got, kWillComPort), std::string::npos);
    // The frame waits while the bridge has not taken the option.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Find(bridge.ReadMore(0), frame), std::string::npos);

    ASSERT_TRUE(bridge.Peer().Send({kIac, kDo, kComPort}));
    got = bridge.ReadUntil(frame);
    const std::size_t baud = Find(got, BaudCommand(115200));
    const std::size_t data = Find(got, frame);
    ASSERT_NE(baud, std::string::npos);
    ASSERT_NE(data, std::string::npos);
    EXPECT_LT(baud, data);
    // 8 data bits, no parity, 1 stop bit, after the rate.
    for (const Bytes& setting :
         {Bytes{kIac, kSb, kComPort, 2, 8, kIac, kSe}, Bytes{kIac, kSb, kComPort, 3, 1, kIac, kSe},
          Bytes{kIac, kSb, kComPort, 4, 1, kIac, kSe}}) {
        const std::size_t at = Find(got, setting);
        EXPECT_TRUE(at > baud && at < data) << static_cast<int>(setting[3]);
    }
    EXPECT_EQ(watcher.Count(Kind::Error), 0u) << watcher.FirstError();
}

TEST_F(NetworkRfc2217Test, EscapesIacBothWaysAndLeavesNotificationsOut) {
    NetworkTransport& rfc = Open(Loopback("rfc2217", listener.Port()));
    TelnetBridge bridge(listener.Accept());
    bridge.ReadUntil(kWillComPort);
    ASSERT_TRUE(bridge.Peer().Send({kIac, kDo, kComPort}));
    bridge.ReadUntil(BaudCommand(115200));

    const Bytes out{1, kIac, 2, kIac, kIac};
    ASSERT_TRUE(rfc.Write(out.data(), out.size()));
    const Bytes escaped{1, kIac, kIac, 2, kIac, kIac, kIac, kIac};
    EXPECT_NE(Find(bridge.ReadUntil(escaped), escaped), std::string::npos);

    // A line-state and a modem-state notification between the board's bytes.
    ASSERT_TRUE(
        bridge.Peer().Send({kIac, kIac, 5,   kIac,     kSb, kComPort, 106,  0x60, kIac, kSe,
                            6,    kIac, kSb, kComPort, 107, 0xB0,     kIac, kSe,  kIac, kIac}));
    ASSERT_TRUE(Receive(4));
    std::this_thread::sleep_for(50ms);
    watcher.Drain(rfc);
    EXPECT_EQ(watcher.received, (Bytes{kIac, 5, 6, kIac}));
    EXPECT_EQ(watcher.Count(Kind::Error), 0u) << watcher.FirstError();
}

TEST_F(NetworkRfc2217Test, RefusedOrUnansweredOptionLetsTheBytesGoWithAnError) {
    for (const bool refuse : {true, false}) {
        watcher.events.clear();
        NetworkTransport& rfc = Open(Loopback("rfc2217", listener.Port()));
        const Bytes frame{0x54, 0x4D, 1, 2};
        ASSERT_TRUE(rfc.Write(frame.data(), frame.size()));
        TelnetBridge bridge(listener.Accept());
        bridge.ReadUntil(kWillComPort);
        if (refuse) ASSERT_TRUE(bridge.Peer().Send({kIac, kDont, kComPort}));
        const auto start = Clock::now();
        const Bytes got = bridge.ReadUntil(frame, 3s);
        EXPECT_NE(Find(got, frame), std::string::npos) << refuse;
        EXPECT_EQ(Find(got, BaudCommand(115200)), std::string::npos) << refuse;
        if (refuse) EXPECT_LT(Clock::now() - start, NetworkTransport::kNegotiationWait);
        ASSERT_TRUE(watcher.WaitUntil(rfc, [&] { return watcher.Count(Kind::Error) == 1; }));
        EXPECT_NE(watcher.FirstError().find(refuse ? "refused" : "did not answer"),
                  std::string::npos)
            << watcher.FirstError();
        EXPECT_EQ(watcher.Count(Kind::Lost), 0u);
    }
}

}  // namespace
}  // namespace zephran
