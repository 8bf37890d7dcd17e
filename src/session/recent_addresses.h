// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zephran {

// The network addresses the user connected to by hand, newest first, kept per user in a file of
// their own beside the window's memory (never in Config.ini, whose port is a number).
class RecentAddresses {
public:
    static constexpr std::size_t kMost = 8;

    explicit RecentAddresses(std::string file) : file_(std::move(file)) {}
    // The file beside the per-user profile.
    static RecentAddresses BesideProfile(const std::string& profileFile);

    // The addresses in the file that still read as network addresses, at most kMost.
    std::vector<std::string> List() const;
    // Puts the address first (once, as PortAddress::Text writes it); the oldest beyond kMost are
    // forgotten. False for a text that is no network address and when the file cannot be written.
    bool Remember(const std::string& text) const;

private:
    std::string file_;
};

}  // namespace zephran
