// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_address.h"

#include <array>
#include <charconv>

#include "link/network_transport_factory.h"

namespace zephran {
namespace {

struct Scheme {
    std::string_view prefix;
    PortAddress::Kind kind;
};
constexpr std::array kSchemes = {
    Scheme{"tcp://", PortAddress::Kind::kTcp},
    Scheme{"socket://", PortAddress::Kind::kTcp},
    Scheme{"rfc2217://", PortAddress::Kind::kRfc2217},
};

ParsedPortAddress Refused(std::string_view text, std::string_view why) {
    return {.error = "\"" + std::string(text) + "\" is not a port address: " + std::string(why)};
}

bool IsHostNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool IsIpv6Character(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' ||
           c == '.' || c == '%';
}

}  // namespace

std::string PortAddress::Text() const {
    if (kind == Kind::kDevice) return device;
    const std::string shownHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return std::string(kind == Kind::kTcp ? "tcp://" : "rfc2217://") + shownHost + ":" +
           std::to_string(port);
}

ParsedPortAddress ParsePortAddress(std::string_view text) {
    const Scheme* scheme = nullptr;
    for (const Scheme& s : kSchemes) {
        if (text.substr(0, s.prefix.size()) == s.prefix) scheme = &s;
    }
    if (!scheme) {
        if (text.find("://") != std::string_view::npos)
            return Refused(text, "the scheme is not tcp://, socket:// or rfc2217://");
        if (text.empty()) return Refused(text, "it is empty");
        return {.address = {.kind = PortAddress::Kind::kDevice, .device = std::string(text)}};
    }

    std::string_view rest = text.substr(scheme->prefix.size());
    std::string_view host;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return Refused(text, "the IPv6 address lacks its ]");
        host = rest.substr(1, close - 1);
        if (host.empty() || host.find(':') == std::string_view::npos) {
            return Refused(text, "the host in brackets is not an IPv6 address");
        }
        // A link-local address may name its interface after a %.
        const std::size_t zone = host.find('%');
        for (std::size_t i = 0; i < host.size(); ++i) {
            const bool fits =
                i < zone ? IsIpv6Character(host[i]) : i > zone && IsHostNameCharacter(host[i]);
            if (!fits && i != zone) return Refused(text, "the IPv6 address has a stray character");
        }
        rest = rest.substr(close + 1);
        if (rest.empty() || rest.front() != ':') return Refused(text, "the port is missing");
        rest = rest.substr(1);
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) return Refused(text, "the port is missing");
        host = rest.substr(0, colon);
        if (host.find(':') != std::string_view::npos)
            return Refused(text, "an IPv6 address goes in brackets, as [::1]:PORT");
        if (host.empty()) return Refused(text, "the host is missing");
        for (const char c : host) {
            if (!IsHostNameCharacter(c))
                return Refused(text, "the host name has a stray character");
        }
        rest = rest.substr(colon + 1);
    }

    if (rest.empty()) return Refused(text, "the port is missing");
    unsigned port = 0;
    const auto [end, status] = std::from_chars(rest.data(), rest.data() + rest.size(), port);
    if (status != std::errc() || end != rest.data() + rest.size() || port < 1 || port > 65535)
        return Refused(text, "the port is not a number from 1 to 65535");
    if (!NetworkTransportsAvailable())
        return {.error = "Network addresses are not available in this build"};
    return {.address = {.kind = scheme->kind,
                        .host = std::string(host),
                        .port = static_cast<std::uint16_t>(port)}};
}

}  // namespace zephran
