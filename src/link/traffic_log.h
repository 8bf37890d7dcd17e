#pragma once

#include <cstdint>

#include "link/line_list.h"
#include "link/text_source.h"

namespace zephran {

enum class TrafficDirection : std::uint8_t { Sent = 0, TimedOut = 254, Received = 255 };

// The short log of frames sent, answered and timed out. It holds at most nine lines: the tenth
// empties the list and becomes its only line.
class TrafficLog {
public:
    static constexpr std::size_t kMaxLines = 9;

    TrafficLog(LineList& lines, const TextSource& texts) : lines_(lines), texts_(texts) {}

    bool LogTraffic(TrafficDirection direction, std::uint8_t group, std::uint8_t msgId);
    // A line of its own, under the same nine-line rule.
    void AddLine(const std::string& line);
    void Clear() { lines_.ResetContent(); }

private:
    LineList& lines_;
    const TextSource& texts_;
};

}  // namespace zephran
