#include "link/traffic_log.h"

#include "link/message_catalogue.h"

namespace zephran {

bool TrafficLog::LogTraffic(TrafficDirection direction, std::uint8_t group, std::uint8_t msgId) {
    if (lines_.GetCount() >= kMaxLines) lines_.ResetContent();
    const std::string name = MessageName(texts_, group, msgId);
    switch (direction) {
        case TrafficDirection::Sent:
            lines_.AddString("**" + name + "**");
            break;
        case TrafficDirection::Received:
            lines_.AddString(name + texts_.LangText("Communicate State", "Succeed"));
            break;
        case TrafficDirection::TimedOut:
            lines_.AddString(name + texts_.LangText("Communicate State", "Timeout"));
            break;
    }
    return true;
}

void TrafficLog::AddLine(const std::string& line) {
    if (lines_.GetCount() >= kMaxLines) lines_.ResetContent();
    lines_.AddString(line);
}

}  // namespace zephran
