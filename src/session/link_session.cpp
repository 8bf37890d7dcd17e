// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/link_session.h"

#include <algorithm>
#include <cstdio>

#include "link/message_catalogue.h"
#include "link/messages.h"
#include "session/status_codes.h"

namespace zephran {
namespace {

// Each byte is one character: bytes above 127 are the Latin-1 characters of that code.
void AppendLatin1(std::string& text, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            text += static_cast<char>(b);
        } else {
            text += static_cast<char>(0xC0 | (b >> 6));
            text += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
}

// Requests that any board answers (the link control) or only its bootloader (the firmware
// update) say nothing about the product.
bool IsProductRequest(std::uint8_t group) {
    return group != kLinkControlGroup && group != msg::kQueryUpdate.group;
}

}  // namespace

LinkSession::LinkSession(Services services, PortDirectoryOptions ports,
                         std::unique_ptr<SerialLink> link)
    : s_(std::move(services)),
      sender_(*this, s_.log, s_.texts),
      receiver_(*this),
      dispatcher_(*this, s_.log, s_.records),
      replayReceiver_(dispatcher_),
      link_(link ? std::move(link)
                 : std::make_unique<DeviceSerialLink>(std::move(ports),
                                                      static_cast<SerialPortOwner&>(*this))) {}

LinkSession::~LinkSession() {
    link_->Close();
}

void LinkSession::RegisterReplies() {
    dispatcher_.RouteGroup(1, [this](const ReceiveArea& frame) { TextFrame(frame); });
    dispatcher_.Route(msg::DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL,
                      [this](const ReceiveArea&) { magCalibrating_ = false; });
}

// The rate display pauses while the board runs its three-axis compass calibration: from its
// start request until its cancel request or the board's completion.
bool LinkSession::SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                            const std::uint8_t* payload) {
    if (msg::DL_MINIAHRS_MAG_3AXIS_START_CAL.Is(group, msgId)) magCalibrating_ = true;
    if (msg::DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL.Is(group, msgId)) magCalibrating_ = false;
    return sender_.SendFrame(group, msgId, length, payload);
}

bool LinkSession::Send(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                       const std::uint8_t* payload) {
    SendFrame(group, msgId, length, payload);
    return CheckConnected();
}

unsigned LinkSession::Baud() const {
    return static_cast<unsigned>(std::max(s_.settings.ReadInt("PCSetting", "bps", 12), 0));
}

void LinkSession::AddPendingRequest(std::uint8_t group, std::uint8_t msgId,
                                    std::size_t frameBytes) {
    pending_.Add(group, msgId, frameBytes, Baud());
}

void LinkSession::RemovePending(std::uint8_t group, std::uint8_t msgId) {
    if (pending_.Remove(group, msgId) == 0) return;
    if (IsProductRequest(group)) wrongProduct_.StartOver();
    ShowStatus(s_.statusBar, kStatusProgress, "", 0);
}

bool LinkSession::WriteToPort(const std::uint8_t* bytes, std::size_t count) {
    return link_->Write(bytes, count);
}

void LinkSession::SetStatusText(int pane, const std::string& text) {
    s_.statusBar.SetPaneText(pane, text);
}

// While a recording plays, it alone drives the live views and rates: the board's own live data
// would interleave with it. Every other reply of the board goes through.
int LinkSession::DispatchFrame(const ReceiveArea& frame) {
    const Message* message = FindMessage(frame.group, frame.msgId);
    if (s_.replaying() && message && message->live != LiveStream::kNone) return 0;
    return dispatcher_.DispatchFrame(frame);
}

std::string LinkSession::Counter(const char* key, long long value) const {
    return s_.texts.LangText("Panel", key) + " " + std::to_string(value);
}

void LinkSession::ReceiveCounted(std::int32_t count) {
    ShowStatus(s_.statusBar, kStatusReceive, Counter("RX", count), 0);
}

void LinkSession::ShowCounters() {
    ShowStatus(s_.statusBar, kStatusReceive, Counter("RX", dispatcher_.ReceiveCount()), 0);
    ShowStatus(s_.statusBar, kStatusTransmit, Counter("TX", sender_.TransmitCount()), 0);
}

void LinkSession::SetWakeUpHandler(std::function<void()> wakeUp) {
    std::lock_guard lock(wakeMutex_);
    wakeUp_ = std::move(wakeUp);
}

void LinkSession::WakeUp() {
    std::lock_guard lock(wakeMutex_);
    if (wakeUp_) wakeUp_();
}

void LinkSession::ProcessPortEvents() {
    std::vector<std::string> errors;
    for (const PortEvent& event : link_->TakeEvents()) {
        switch (event.kind) {
            case PortEvent::Kind::Received:
                receiver_.ParseBytes(event.bytes.data(), event.bytes.size());
                break;
            case PortEvent::Kind::Discarded:
                discardedBytes_ += event.discarded;
                ShowStatus(s_.statusBar, kStatusMain,
                           "RX overflow: " + std::to_string(discardedBytes_) +
                               " bytes discarded (the program fell behind the board)",
                           0);
                break;
            case PortEvent::Kind::EventChar:
                break;
            case PortEvent::Kind::Error:
                errors.push_back("Application Error\n" + event.step + ": " + event.text);
                break;
            case PortEvent::Kind::Lost:
                if (onPortLost) {
                    onPortLost(event.portNumber,
                               event.text.empty() ? "" : event.step + ": " + event.text);
                }
                break;
        }
    }
    for (const std::string& error : errors)
        s_.host.MessageBox(error);
}

void LinkSession::OnPendingTimer() {
    for (const PortEvent& event : s_.replay.TakeEvents())
        replayReceiver_.ParseBytes(event.bytes.data(), event.bytes.size());
    if (pending_.Empty()) return;
    pending_.CountDown();
    if (!LinkHeld()) {
        const PendingRequest& first = pending_.List().front();
        ShowStatus(s_.statusBar, kStatusProgress, "",
                   (first.total - first.remaining) * 100 / first.total);
    }
    // Every expired entry is off the list before any message box runs its own event loop.
    std::vector<std::string> messages;
    for (const PendingRequest& request : pending_.TakeExpired()) {
        messages.push_back(MessageName(s_.texts, request.group, request.msgId) + " " +
                           s_.texts.LangText("MessagBox", "TimeOut"));
        s_.log.LogTraffic(TrafficDirection::TimedOut, request.group, request.msgId);
        ShowStatus(s_.statusBar, kStatusProgress, "", 0);
        NoticeTimeOut(request);
        if (onTimedOut) onTimedOut(request.group, request.msgId, messages.back());
    }
    for (const std::string& message : messages)
        s_.host.MessageBox(message);
}

void LinkSession::NoticeTimeOut(const PendingRequest& request) {
    if (!connected_ || !IsProductRequest(request.group) || !wrongProduct_.TimedOut()) return;
    const std::string hint = WrongProductText(
        s_.texts, s_.settings.ReadText("ProductSetting", "Product"), wrongProduct_.BoardText());
    ShowStatus(s_.statusBar, kStatusMain, hint, 0);
    s_.log.AddLine(hint);
}

void LinkSession::UpdateRates() {
    if (magCalibrating_ || !connected_) return;
    for (std::size_t i = 0; i < rates_.size(); ++i) {
        const std::uint32_t current = dispatcher_.LiveCount(static_cast<LiveStream>(i + 1));
        rates_[i] = current - lastCounts_[i];
        lastCounts_[i] = current;
    }
    ShowRates();
}

void LinkSession::ShowRates() {
    // The wrong-product hint keeps the pane until the board answers a request of the product.
    if (wrongProduct_.Standing()) return;
    const std::string product = s_.settings.ReadText("ProductSetting", "Product");
    char text[128];
    if (product == "AHRS") {
        std::snprintf(text, sizeof text, "AHRS %i Hz", static_cast<int>(Rate(LiveStream::kAhrs)));
        ShowStatus(s_.statusBar, kStatusMain, text, 0);
    } else if (product == "GPSINS") {
        std::snprintf(text, sizeof text, "Nav Sensor GPS: %i %i %i  Hz",
                      static_cast<int>(Rate(LiveStream::kNavOutput)),
                      static_cast<int>(Rate(LiveStream::kSensorsRaw)),
                      static_cast<int>(Rate(LiveStream::kGpsRaw)));
        ShowStatus(s_.statusBar, kStatusMain, text, 0);
    }
}

void LinkSession::TextFrame(const ReceiveArea& frame) {
    if (++textFrames_ == 7) {
        textFrames_ = 0;
        textStream_.clear();
    }
    std::string text;
    AppendLatin1(text, frame.payload, frame.Length());
    textStream_ += text;
    wrongProduct_.BoardSaid(text);
    s_.showText(textStream_);
}

}  // namespace zephran
