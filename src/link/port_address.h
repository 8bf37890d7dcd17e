// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zephran {

// Where a port is: a local device, or a serial bridge on the network reached over raw TCP or
// over Telnet with the Com Port Control option (RFC 2217).
struct PortAddress {
    enum class Kind : std::uint8_t { kDevice, kTcp, kRfc2217 };

    Kind kind = Kind::kDevice;
    std::string device;  // the device path, for kDevice
    std::string host;    // a name or an address, IPv6 without its brackets
    std::uint16_t port = 0;

    bool IsNetwork() const { return kind != Kind::kDevice; }
    // As the user writes it: the device path, or tcp://HOST:PORT and rfc2217://HOST:PORT
    // (socket:// is written as tcp://), an IPv6 host in brackets.
    std::string Text() const;
};

// An address read from what the user typed, or why it is not one.
struct ParsedPortAddress {
    PortAddress address;
    std::string error;  // empty when the text is an address
    bool Ok() const { return error.empty(); }
};

// Reads a device path, tcp://HOST:PORT, socket://HOST:PORT or rfc2217://HOST:PORT. HOST is a
// name, an IPv4 address or an IPv6 address in brackets; PORT is 1 to 65535.
ParsedPortAddress ParsePortAddress(std::string_view text);

}  // namespace zephran
