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

void PortDirectory::Refresh() {
    entries_.clear();
    AddSystemPorts();
    for (const std::string& path : addedByHand_)
        Add(path, AdapterNameOf(path));
}

std::optional<unsigned> PortDirectory::AddByHand(const std::string& path) {
    if (std::find(addedByHand_.begin(), addedByHand_.end(), path) == addedByHand_.end())
        addedByHand_.push_back(path);
    Refresh();
    for (const PortEntry& entry : entries_) {
        if (entry.devicePath == path) return entry.number;
    }
    return std::nullopt;
}

const PortEntry* PortDirectory::Find(unsigned number) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [number](const PortEntry& e) { return e.number == number; });
    return found != entries_.end() ? &*found : nullptr;
}

void PortDirectory::Add(const std::string& path, std::string adapterName) {
    // Past the highest number taken: Windows' ports keep their own numbers, with gaps.
    unsigned highest = 0;
    for (const PortEntry& entry : entries_)
        highest = std::max(highest, entry.number);
    Add(PortEntry{highest + 1, path, std::move(adapterName)});
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
