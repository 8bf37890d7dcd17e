// SPDX-License-Identifier: GPL-3.0-or-later
// Port addresses as the user types them, and the Telnet Com Port Control codec bridges speak.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/network_transport_factory.h"
#include "link/port_address.h"
#include "link/rfc2217_codec.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = PortAddress::Kind;

TEST(PortAddressTest, ReadsEveryForm) {
    struct Case {
        const char* text;
        Kind kind;
        const char* host;
        std::uint16_t port;
        const char* shown;
    };
    const Case cases[] = {
        {"/dev/ttyUSB0", Kind::kDevice, "", 0, "/dev/ttyUSB0"},
        {"tcp://192.168.4.1:23", Kind::kTcp, "192.168.4.1", 23, "tcp://192.168.4.1:23"},
        {"socket://bridge.local:2000", Kind::kTcp, "bridge.local", 2000, "tcp://bridge.local:2000"},
        {"rfc2217://localhost:7000", Kind::kRfc2217, "localhost", 7000, "rfc2217://localhost:7000"},
        {"rfc2217://[::1]:65535", Kind::kRfc2217, "::1", 65535, "rfc2217://[::1]:65535"},
        {"tcp://[fe80::1%eth0]:1", Kind::kTcp, "fe80::1%eth0", 1, "tcp://[fe80::1%eth0]:1"},
    };
    for (const Case& c : cases) {
        const ParsedPortAddress parsed = ParsePortAddress(c.text);
        // A build without network transports refuses a well-formed network address at once.
        if (c.kind != Kind::kDevice && !NetworkTransportsAvailable()) {
            EXPECT_EQ(parsed.error, "Network addresses are not available in this build") << c.text;
            continue;
        }
        ASSERT_TRUE(parsed.Ok()) << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.address.kind, c.kind) << c.text;
        EXPECT_EQ(parsed.address.host, c.host) << c.text;
        EXPECT_EQ(parsed.address.port, c.port) << c.text;
        EXPECT_EQ(parsed.address.Text(), c.shown) << c.text;
    }
}

TEST(PortAddressTest, RefusesMalformedAddressesSayingWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "empty"},
        {"http://host:80", "scheme"},
        {"tcp://host", "port is missing"},
        {"tcp://host:", "port is missing"},
        {"tcp://:23", "host is missing"},
        {"tcp://host:0", "1 to 65535"},
        {"tcp://host:65536", "1 to 65535"},
        {"tcp://host:23x", "1 to 65535"},
        {"tcp://host:-1", "1 to 65535"},
        {"tcp://::1:23", "brackets"},
        {"tcp://[::1:23", "lacks its ]"},
        {"tcp://[::1]23", "port is missing"},
        {"tcp://[host]:23", "not an IPv6"},
        {"tcp://ho st:23", "stray character"},
        {"rfc2217://[::1]:", "port is missing"},
    };
    for (const auto& [text, why] : cases) {
        const ParsedPortAddress parsed = ParsePortAddress(text);
        EXPECT_FALSE(parsed.Ok()) << text;
        EXPECT_NE(parsed.error.find(why), std::string::npos) << text << ": " << parsed.error;
        EXPECT_NE(parsed.error.find(std::string("\"") + text + "\""), std::string::npos)
            << parsed.error;
    }
}

constexpr std::uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254,
                       COM = 44;

// The bytes that set the line at 115200 baud, 8 data bits, no parity, 1 stop bit, no flow
// control.
const Bytes kLineAt115200 = {IAC, SB, COM, 1, 0x00, 0x01, 0xC2, 0x00, IAC, SE,  //
                             IAC, SB, COM, 2, 8,    IAC,  SE,                   //
                             IAC, SB, COM, 3, 1,    IAC,  SE,                   //
                             IAC, SB, COM, 4, 1,    IAC,  SE,                   //
                             IAC, SB, COM, 5, 1,    IAC,  SE};

struct Received {
    Bytes data, answers;
};

Received Feed(Rfc2217Codec& codec, const Bytes& bytes) {
    Received r;
    codec.Receive(bytes, r.data, r.answers);
    return r;
}

TEST(Rfc2217CodecTest, AsksForTheOptionAndSetsTheLineOnceTheBridgeTakesIt) {
    Rfc2217Codec codec;
    EXPECT_EQ(codec.Opening(115200),
              (Bytes{IAC, WILL, 0, IAC, DO, 0, IAC, WILL, 3, IAC, DO, 3, IAC, WILL, COM}));
    EXPECT_FALSE(codec.ComPortTaken());
    EXPECT_TRUE(codec.ChangeBaud(115200).empty());

    // The bridge agrees to everything asked: no answer but the line settings.
    const Received r =
        Feed(codec, {IAC, DO, 0, IAC, WILL, 0, IAC, DO, 3, IAC, WILL, 3, IAC, DO, COM});
    EXPECT_TRUE(r.data.empty());
    EXPECT_EQ(r.answers, kLineAt115200);
    EXPECT_TRUE(codec.ComPortTaken());

    // The bridge acknowledges the rate; a later change goes out at once.
    Feed(codec, {IAC, SB, COM, 101, 0x00, 0x01, 0xC2, 0x00, IAC, SE});
    EXPECT_EQ(codec.ReportedBaud(), 115200u);
    const Bytes change = codec.ChangeBaud(9600);
    EXPECT_EQ(Bytes(change.begin(), change.begin() + 10),
              (Bytes{IAC, SB, COM, 1, 0x00, 0x00, 0x25, 0x80, IAC, SE}));
}

TEST(Rfc2217CodecTest, DoublesEvery0xFFInDataAndValues) {
    Bytes wire;
    Rfc2217Codec::Escape(Bytes{0x55, 0xFF, 0xFF, 0x00}, wire);
    EXPECT_EQ(wire, (Bytes{0x55, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}));

    Rfc2217Codec codec;
    codec.Opening(0x0001FFFF);
    const Received r = Feed(codec, {IAC, DO, COM});
    EXPECT_EQ(Bytes(r.answers.begin(), r.answers.begin() + 12),
              (Bytes{IAC, SB, COM, 1, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, IAC, SE}));

    EXPECT_EQ(Feed(codec, {0x01, IAC, IAC, 0x02, IAC, IAC}).data, (Bytes{0x01, 0xFF, 0x02, 0xFF}));
}

TEST(Rfc2217CodecTest, RefusesUnknownOptionsOnceAndNeverAnswersARefusal) {
    Rfc2217Codec codec;
    codec.Opening(57600);
    // Terminal type asked of us, echo offered: refused. Their refusals get no answer.
    EXPECT_EQ(Feed(codec, {IAC, DO, 24, IAC, WILL, 1}).answers,
              (Bytes{IAC, WONT, 24, IAC, DONT, 1}));
    EXPECT_TRUE(Feed(codec, {IAC, DONT, 24, IAC, WONT, 1, IAC, WONT, 0}).answers.empty());
    // An option that is on and then turned off is answered once.
    Feed(codec, {IAC, WILL, 3});
    EXPECT_EQ(Feed(codec, {IAC, WONT, 3}).answers, (Bytes{IAC, DONT, 3}));
    EXPECT_TRUE(Feed(codec, {IAC, WONT, 3}).answers.empty());
}

TEST(Rfc2217CodecTest, ABridgeWithoutTheOptionIsNoticed) {
    Rfc2217Codec codec;
    codec.Opening(115200);
    EXPECT_TRUE(Feed(codec, {IAC, DONT, COM}).answers.empty());
    EXPECT_TRUE(codec.ComPortRefused());
    EXPECT_FALSE(codec.ComPortTaken());
}

TEST(Rfc2217CodecTest, NotificationsAndCommandsLeaveOnlyTheBoardsBytes) {
    // Line-state and modem-state notifications, a NOP, a flow-control suspend, a long unknown
    // subnegotiation and a doubled 0xFF inside a value, between board bytes.
    Bytes stream = {0x10, IAC, SB,   COM, 106, 0x60, IAC, SE,  0x11, IAC, 241, 0x12, IAC, SB,
                    COM,  107, 0xB0, IAC, IAC, IAC,  SE,  IAC, SB,   COM, 108, IAC,  SE};
    stream.insert(stream.end(), {IAC, SB, 24});
    stream.insert(stream.end(), 200, 0x41);
    stream.insert(stream.end(), {IAC, SE, 0x13, IAC, DO, COM});

    Rfc2217Codec whole;
    whole.Opening(115200);
    const Received expected = Feed(whole, stream);
    EXPECT_EQ(expected.data, (Bytes{0x10, 0x11, 0x12, 0x13}));
    EXPECT_EQ(expected.answers, kLineAt115200);

    // Any split of the stream reads the same.
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
        Rfc2217Codec split;
        split.Opening(115200);
        Received r = Feed(split, Bytes(stream.begin(), stream.begin() + cut));
        const Received rest = Feed(split, Bytes(stream.begin() + cut, stream.end()));
        r.data.insert(r.data.end(), rest.data.begin(), rest.data.end());
        r.answers.insert(r.answers.end(), rest.answers.begin(), rest.answers.end());
        EXPECT_EQ(r.data, expected.data) << "cut at " << cut;
        EXPECT_EQ(r.answers, expected.answers) << "cut at " << cut;
    }
}

}  // namespace
}  // namespace zephran
