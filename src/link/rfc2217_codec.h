// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zephran {

// The client side of Telnet with the Com Port Control option (RFC 2217), as serial bridges
// such as ser2net speak it: the options asked for when the connection opens, the line
// settings (the rate, 8 data bits, no parity, 1 stop bit, no flow control), the data with its
// 0xFF bytes doubled, and a receive side that takes the board's bytes out of the stream and
// answers the bridge's negotiation. Notifications of line and modem state are read and left.
class Rfc2217Codec {
public:
    // What to send first: binary transmission and suppress-go-ahead both ways, and the
    // Com Port Control option. The line settings follow once the bridge takes the option.
    std::vector<std::uint8_t> Opening(unsigned baud);
    // A new rate: the bytes that set the line, or none while the bridge has not taken the
    // option yet (the rate then goes out when it does).
    std::vector<std::uint8_t> ChangeBaud(unsigned baud);
    // The board's bytes as they go on the wire.
    static void Escape(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& wire);

    // Bytes from the bridge: the board's bytes are appended to data, what must be answered to
    // answers. Any split of the stream gives the same result.
    void Receive(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& data,
                 std::vector<std::uint8_t>& answers);

    // The bridge took the Com Port Control option.
    bool ComPortTaken() const { return comPort_.us == Side::kOn; }
    // The bridge refused it: the rate cannot be set over this link.
    bool ComPortRefused() const { return comPortRefused_; }
    // The rate the bridge last said its port runs at.
    std::optional<unsigned> ReportedBaud() const { return reportedBaud_; }

    static constexpr std::uint8_t kIac = 255;
    static constexpr std::uint8_t kComPortOption = 44;

private:
    enum class Side : std::uint8_t { kOff, kAsked, kOn };
    struct Option {
        Side us = Side::kOff;    // we WILL
        Side them = Side::kOff;  // they WILL
    };
    enum class State : std::uint8_t { kData, kIac, kOption, kSub, kSubIac };

    Option* Known(std::uint8_t option);
    void Negotiate(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& answers);
    void Subnegotiation();
    std::vector<std::uint8_t> LineSettings() const;

    Option binary_, suppressGoAhead_, comPort_;
    bool comPortRefused_ = false;
    unsigned baud_ = 0;
    std::optional<unsigned> reportedBaud_;

    State state_ = State::kData;
    std::uint8_t verb_ = 0;
    std::vector<std::uint8_t> sub_;
    bool subOverflow_ = false;
};

}  // namespace zephran
