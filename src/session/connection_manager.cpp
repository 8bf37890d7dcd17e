#include "session/connection_manager.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "link/message_catalogue.h"
#include "link/messages.h"
#include "session/status_codes.h"

namespace zephran {
namespace {

std::string Format(const char* format, int value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string ComName(unsigned number) {
    return Format("COM%d", static_cast<int>(number));
}

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

bool ConnectionManager::AutoMode() const {
    return s_.settings.ReadText("PCSetting", "PortScanMode") == "Auto";
}

unsigned ConnectionManager::Baud() const {
    return static_cast<unsigned>(std::max(s_.settings.ReadInt("PCSetting", "bps", 12), 0));
}

std::size_t ConnectionManager::ProbePorts() {
    ports_.clear();
    knownDevices_.clear();
    for (const PortEntry& device : s_.link.Devices()) {
        if (s_.link.Present(device.devicePath)) knownDevices_.push_back(device.devicePath);
        if (s_.link.Probe(device.devicePath) == OpenFailure::None) ports_.push_back(device);
    }
    return ports_.size();
}

bool ConnectionManager::NoticeArrivals() {
    std::vector<std::string> present;
    bool arrived = false;
    for (const PortEntry& device : s_.link.Devices()) {
        if (!s_.link.Present(device.devicePath)) continue;
        present.push_back(device.devicePath);
        arrived = arrived || std::find(knownDevices_.begin(), knownDevices_.end(),
                                       device.devicePath) == knownDevices_.end();
    }
    // A device that went away counts as new when it comes back.
    knownDevices_ = std::move(present);
    return arrived;
}

void ConnectionManager::StopPort() {
    if (!portOpen_) return;
    s_.link.Close();
    portOpen_ = false;
}

void ConnectionManager::StartScan() {
    s_.timers.KillTimer(kTimerScan);
    StopPort();
    connected_ = false;
    if (ProbePorts() > 0) s_.timers.SetTimer(kTimerScan, 1000, s_.clock.SteadyMs());
    scanIndex_ = 0;
    s_.setStatus(kStatusMain, s_.texts.LangText("Panel", "Try Hardware Concect"), 0);
}

std::string ConnectionManager::PermissionHint() const {
    return AddedText(s_.texts, "MessagBox", "Port Permission Denied",
                     "Permission denied. Add your user to the dialout group (sudo usermod -aG "
                     "dialout $USER), then log out and in again.");
}

void ConnectionManager::ReportOpenFailure(const PortEntry* port, unsigned number) {
    std::string message = Format("Open com port %i Err", static_cast<int>(number));
    if (port) message += " (" + port->devicePath + ")";
    if (port && s_.link.LastFailure() == OpenFailure::PermissionDenied) {
        message += "\n" + PermissionHint();
    }
    s_.host.MessageBox(message);
}

void ConnectionManager::OpenConfiguredPort() {
    s_.timers.KillTimer(kTimerScan);
    StopPort();
    connected_ = false;
    const unsigned baud = Baud();
    const int com = s_.settings.ReadInt("PCSetting", "Com", 12);
    const auto devices = s_.link.Devices();
    const auto port = std::find_if(devices.begin(), devices.end(), [com](const PortEntry& p) {
        return static_cast<int>(p.number) == com;
    });
    if (port == devices.end() || !s_.link.Open(port->number, port->devicePath, baud)) {
        ReportOpenFailure(port == devices.end() ? nullptr : &*port, static_cast<unsigned>(com));
        return;
    }
    portOpen_ = true;
    wrongProduct_.Reset();
    openNumber_ = port->number;
    openPort_ = *port;
    ShowPort(*port);
    s_.timers.SetTimer(kTimerScan, 1000, s_.clock.SteadyMs());
    SendConnectRequest();
}

void ConnectionManager::SendConnectRequest() {
    s_.sender.SendFrame(kLinkControlGroup, kConnectRequestId, 0, nullptr);
    s_.sender.CheckConnected();
}

void ConnectionManager::ShowPort(const PortEntry& port) {
    s_.setStatus(kStatusPort, ComName(port.number), 0);
}

bool ConnectionManager::OpenForScan(const PortEntry& port) {
    if (s_.link.Open(port.number, port.devicePath, Baud())) {
        portOpen_ = true;
        wrongProduct_.Reset();
        openNumber_ = port.number;
        openPort_ = port;
        return true;
    }
    if (s_.link.LastFailure() == OpenFailure::PermissionDenied && !permissionHintShown_) {
        permissionHintShown_ = true;
        s_.setStatus(kStatusMain, ComName(port.number) + ": " + PermissionHint(), 0);
    }
    return false;
}

void ConnectionManager::AddPending(std::uint8_t group, std::uint8_t msgId, std::size_t frameBytes) {
    // Ten bits a byte on the wire, 100 ticks a second; whole ticks, so a short frame adds none.
    constexpr std::size_t kLongest = 60000;
    const std::size_t wireTicks = frameBytes * 1000 / std::max(Baud(), 1u);
    const auto ticks = static_cast<std::uint16_t>(std::min(100 + wireTicks, kLongest));
    pending_.push_back({RequestKey(group, msgId), group, msgId, ticks, ticks});
}

void ConnectionManager::RemovePending(std::uint8_t group, std::uint8_t msgId) {
    const std::uint16_t key = RequestKey(group, msgId);
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->key == key) {
            it = pending_.erase(it);
            if (IsProductRequest(group)) wrongProduct_.StartOver();
            s_.setStatus(kStatusProgress, "", 0);
        } else {
            ++it;
        }
    }
}

void ConnectionManager::OnPendingTimer() {
    if (pending_.empty()) return;
    for (PendingRequest& request : pending_) {
        if (request.remaining > 1) --request.remaining;
    }
    if (!LinkHeld()) {
        const PendingRequest& first = pending_.front();
        s_.setStatus(kStatusProgress, "", (first.total - first.remaining) * 100 / first.total);
    }
    // Take every expired entry off the list before any message box runs its own event loop.
    std::vector<PendingRequest> expired;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->remaining < 2) {
            expired.push_back(*it);
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<std::string> messages;
    for (const PendingRequest& request : expired) {
        messages.push_back(MessageName(s_.texts, request.group, request.msgId) + " " +
                           s_.texts.LangText("MessagBox", "TimeOut"));
        s_.log.LogTraffic(TrafficDirection::TimedOut, request.group, request.msgId);
        s_.setStatus(kStatusProgress, "", 0);
        NoticeTimeOut(request);
        if (onTimedOut) onTimedOut(request.group, request.msgId, messages.back());
    }
    for (const std::string& message : messages)
        s_.host.MessageBox(message);
}

void ConnectionManager::NoticeTimeOut(const PendingRequest& request) {
    if (!connected_ || !IsProductRequest(request.group) || !wrongProduct_.TimedOut()) return;
    const std::string hint = WrongProductText(
        s_.texts, s_.settings.ReadText("ProductSetting", "Product"), wrongProduct_.BoardText());
    s_.setStatus(kStatusMain, hint, 0);
    s_.log.AddLine(hint);
}

void ConnectionManager::ShowRates() {
    // The wrong-product hint keeps the pane until the board answers a request of the product.
    if (wrongProduct_.Standing()) return;
    const std::string product = s_.settings.ReadText("ProductSetting", "Product");
    char text[128];
    if (product == "AHRS") {
        std::snprintf(text, sizeof text, "AHRS %i Hz", static_cast<int>(Rate(LiveStream::kAhrs)));
        s_.setStatus(kStatusMain, text, 0);
    } else if (product == "GPSINS") {
        std::snprintf(text, sizeof text, "Nav Sensor GPS: %i %i %i  Hz",
                      static_cast<int>(Rate(LiveStream::kNavOutput)),
                      static_cast<int>(Rate(LiveStream::kSensorsRaw)),
                      static_cast<int>(Rate(LiveStream::kGpsRaw)));
        s_.setStatus(kStatusMain, text, 0);
    }
}

void ConnectionManager::OnScanTimer() {
    if (!magCalibrating && connected_) {
        for (std::size_t i = 0; i < rates_.size(); ++i) {
            const std::uint32_t current = s_.dispatcher.LiveCount(static_cast<LiveStream>(i + 1));
            rates_[i] = current - lastCounts_[i];
            lastCounts_[i] = current;
        }
        ShowRates();
    }
    if (connected_ || LinkHeld()) return;
    if (!AutoMode()) {
        if (portOpen_) {
            SendConnectRequest();
            return;
        }
        // The configured port was lost: try it again every second, quietly.
        const int com = s_.settings.ReadInt("PCSetting", "Com", 12);
        for (const PortEntry& device : s_.link.Devices()) {
            if (static_cast<int>(device.number) == com && OpenForScan(device)) {
                ShowPort(device);
                SendConnectRequest();
            }
        }
        return;
    }
    if (NoticeArrivals()) newDevice_ = true;
    if (newDevice_) {
        newDevice_ = false;
        s_.setStatus(kStatusMain, s_.texts.LangText("Panel", "NewUSBDevice"), 0);
        StartScan();
    }
    if (ports_.empty()) return;
    if (portOpen_) {
        StopPort();
        scanIndex_ = (scanIndex_ + 1) % ports_.size();
    }
    scanIndex_ %= ports_.size();
    ShowPort(ports_[scanIndex_]);
    if (OpenForScan(ports_[scanIndex_])) SendConnectRequest();
}

void ConnectionManager::HandlePortEvents(
    const std::function<void(const std::uint8_t*, std::size_t)>& parse) {
    std::vector<std::string> errors;
    for (const PortEvent& event : s_.link.TakeEvents()) {
        switch (event.kind) {
            case PortEvent::Kind::Received:
                parse(event.bytes.data(), event.bytes.size());
                break;
            case PortEvent::Kind::Discarded:
                discardedBytes_ += event.discarded;
                s_.setStatus(kStatusMain,
                             "RX overflow: " + std::to_string(discardedBytes_) +
                                 " bytes discarded (the program fell behind the board)",
                             0);
                break;
            case PortEvent::Kind::EventChar:
                break;
            case PortEvent::Kind::Error:
                errors.push_back("Application Error\n" + event.step + ": " + event.text);
                break;
            case PortEvent::Kind::Lost: {
                if (!portOpen_ || event.portNumber != openNumber_) break;
                portOpen_ = false;
                connected_ = false;
                s_.link.Close();
                const std::string lost =
                    AddedText(s_.texts, "Panel", "Port Lost", "Connection lost:") + " " +
                    ComName(event.portNumber);
                if (onPortLost) onPortLost(lost);
                if (AutoMode()) {
                    StartScan();
                    // Keep looking once a second even when no port is left, so the board is
                    // found again when it comes back.
                    if (!s_.timers.IsRunning(kTimerScan))
                        s_.timers.SetTimer(kTimerScan, 1000, s_.clock.SteadyMs());
                }
                s_.setStatus(kStatusMain, lost, 0);
                break;
            }
        }
    }
    for (const std::string& error : errors)
        s_.host.MessageBox(error);
}

void ConnectionManager::TextFrame(const ReceiveArea& frame) {
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

void ConnectionManager::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.RouteGroup(1, [this](const ReceiveArea& frame) { TextFrame(frame); });
    dispatcher.Route(msg::kCheckConnect, [this](const ReceiveArea&) {
        const bool before = std::exchange(connected_, true);
        s_.setStatus(kStatusMain, s_.texts.LangText("Panel", "Hardware Connect Succeed"), 0);
        if (!before && onConnected) onConnected();
    });
    dispatcher.Route(msg::DL_ID_COMMUNICATE_SET_BPS, [this](const ReceiveArea&) {
        s_.setStatus(kStatusMain, s_.texts.LangText("Panel", "DL_ID_COMMUNICATE_SET_BPS"), 0);
        s_.setStatus(kStatusMain,
                     s_.texts.LangText("Panel", "switch to new bps") + " " +
                         std::to_string(s_.settings.ReadInt("AHRSSetting", "bps", 12)),
                     0);
    });
}

}  // namespace zephran
