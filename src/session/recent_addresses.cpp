// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/recent_addresses.h"

#include <algorithm>
#include <filesystem>

#include "link/port_address.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace zephran {
namespace {

constexpr const char* kSection = "Addresses";

}  // namespace

RecentAddresses RecentAddresses::BesideProfile(const std::string& profileFile) {
    return RecentAddresses(Utf8FromPath(PathFromUtf8(profileFile).parent_path() / "addresses.ini"));
}

std::vector<std::string> RecentAddresses::List() const {
    std::vector<std::string> addresses;
    for (std::size_t k = 1; k <= kMost; ++k) {
        const std::string text = GetPrivateProfileString(kSection, std::to_string(k), "", file_);
        const ParsedPortAddress parsed = ParsePortAddress(text);
        if (!parsed.Ok() || !parsed.address.IsNetwork()) continue;
        const std::string address = parsed.address.Text();
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(address);
    }
    return addresses;
}

bool RecentAddresses::Remember(const std::string& text) const {
    const ParsedPortAddress parsed = ParsePortAddress(text);
    if (!parsed.Ok() || !parsed.address.IsNetwork()) return false;
    const std::string address = parsed.address.Text();
    std::vector<std::string> addresses = List();
    std::erase(addresses, address);
    addresses.insert(addresses.begin(), address);
    addresses.resize(std::min(addresses.size(), kMost));
    bool written = true;
    for (std::size_t k = 0; k < kMost; ++k) {
        const std::string value = k < addresses.size() ? addresses[k] : "";
        written =
            WritePrivateProfileString(kSection, std::to_string(k + 1), value, file_) && written;
    }
    return written;
}

}  // namespace zephran
