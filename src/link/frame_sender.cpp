#include "link/frame_sender.h"

#include <algorithm>
#include <vector>

#include "link/crc16.h"
#include "link/message_catalogue.h"

namespace zephran {

bool FrameSender::SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                            const std::uint8_t* payload) {
    length = static_cast<std::uint16_t>(std::min<std::size_t>(length, kMaxPayload));
    staged_[2] = group;
    staged_[3] = msgId;
    staged_[4] = static_cast<std::uint8_t>(length & 0xFF);
    staged_[5] = static_cast<std::uint8_t>(length >> 8);
    stagedCrc_ = {0, 0};
    if (length > 0) std::copy(payload, payload + length, staged_.begin() + 6);
    const std::uint16_t crc = CalcCrc16(staged_.data() + 2, length + 4u);
    stagedCrc_ = {static_cast<std::uint8_t>(crc & 0xFF), static_cast<std::uint8_t>(crc >> 8)};
    log_.LogTraffic(TrafficDirection::Sent, group, msgId);
    return true;
}

bool FrameSender::CheckConnected() {
    const std::size_t length = staged_[4] | (staged_[5] << 8);
    std::vector<std::uint8_t> image(staged_.begin(), staged_.begin() + 6 + length);
    image.push_back(stagedCrc_[0]);
    image.push_back(stagedCrc_[1]);

    const std::uint8_t group = staged_[2];
    const std::uint8_t msgId = staged_[3];
    const bool connectRequest = group == kLinkControlGroup && msgId == kConnectRequestId;
    const bool linked = connectRequest || host_.IsConnected();
    const bool fits = image.size() <= host_.WriteLimit();
    const bool written = linked && fits && host_.WriteToPort(image.data(), image.size());
    if (written && !connectRequest) host_.AddPendingRequest(group, msgId, image.size());
    ++transmitCount_;
    host_.SetStatusText(kTransmitPane,
                        texts_.LangText("Panel", "TX") + " " + std::to_string(transmitCount_));
    // The message box comes last: its nested event loop may send frames of its own.
    if (!linked) {
        host_.ShowMessage(texts_.LangText("MessagBox", "Check Hardware Connect"));
    } else if (!fits) {
        host_.ShowMessage(AddedText(texts_, "MessagBox", "Frame Too Long",
                                    "Not sent: the request is longer than the serial port takes:") +
                          " " + MessageName(texts_, group, msgId) + " (" +
                          std::to_string(image.size()) + " > " +
                          std::to_string(host_.WriteLimit()) + ")");
    }
    return written;
}

}  // namespace zephran
