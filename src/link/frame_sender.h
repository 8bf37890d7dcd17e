#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/link_frame.h"
#include "link/text_source.h"
#include "link/traffic_log.h"

namespace zephran {

// What sending needs from the main window.
class FrameSenderHost {
public:
    virtual ~FrameSenderHost() = default;
    virtual bool IsConnected() const = 0;
    // Records a request of frameBytes written while connected, to be answered within its
    // time-out.
    virtual void AddPendingRequest(std::uint8_t group, std::uint8_t msgId,
                                   std::size_t frameBytes) = 0;
    // The most bytes one write takes; a longer frame is refused.
    virtual std::size_t WriteLimit() const = 0;
    // False when the port did not take the bytes.
    virtual bool WriteToPort(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void SetStatusText(int pane, const std::string& text) = 0;
};

// Stages frames and writes them when the link allows. Senders call SendFrame, then
// CheckConnected, with nothing between them.
class FrameSender {
public:
    static constexpr int kTransmitPane = 4;

    FrameSender(FrameSenderHost& host, TrafficLog& log, const TextSource& texts)
        : host_(host), log_(log), texts_(texts) {}

    // Stages the frame with its CRC and logs it as sent. A length above the payload limit is
    // cut to it.
    bool SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                   const std::uint8_t* payload);

    // Writes the staged frame: the connect request always, any other only while connected (it
    // is then pending); without a board it shows "Check Hardware Connect" instead. A frame
    // longer than the port takes is refused with a message naming it and never pending. Counts
    // every call in the TX pane. True when the frame was written.
    bool CheckConnected();

    std::uint32_t TransmitCount() const { return transmitCount_; }

private:
    FrameSenderHost& host_;
    TrafficLog& log_;
    const TextSource& texts_;
    // Sync, group, msgId, length, payload area; the CRC sits behind the full payload area.
    std::array<std::uint8_t, 6 + kMaxPayload> staged_{kSync1, kSync2};
    std::array<std::uint8_t, 2> stagedCrc_{};
    std::uint32_t transmitCount_ = 0;
};

}  // namespace zephran
