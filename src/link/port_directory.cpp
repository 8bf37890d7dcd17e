// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_directory.h"

#include <algorithm>
#include <cstdlib>

namespace zephran {

std::string PortEntry::Label() const {
    std::string label = "COM" + std::to_string(number) + " " + devicePath;
    if (!adapterName.empty()) label += " (" + adapterName + ")";
    return label;
}

std::string PortPatternsFromEnvironment() {
    const char* value = std::getenv("ZEPHRAN_PORTS");
    return value != nullptr ? value : "";
}

const PortEntry* PortDirectory::Find(unsigned number) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [number](const PortEntry& e) { return e.number == number; });
    return found != entries_.end() ? &*found : nullptr;
}

void PortDirectory::Add(const std::string& path, std::string adapterName) {
    Add(PortEntry{static_cast<unsigned>(entries_.size() + 1), path, std::move(adapterName)});
}

void PortDirectory::Add(PortEntry entry) {
    if (entries_.size() == kMaxPorts ||
        std::any_of(entries_.begin(), entries_.end(), [&entry](const PortEntry& e) {
            return e.devicePath == entry.devicePath || e.number == entry.number;
        })) {
        return;
    }
    entries_.push_back(std::move(entry));
}

}  // namespace zephran
