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

}  // namespace

ConnectionManager::ConnectionManager(Services services) : s_(std::move(services)) {
    s_.session.onPortLost = [this](unsigned portNumber, const std::string& reason) {
        PortLost(portNumber, reason);
    };
}

bool ConnectionManager::AutoMode() const {
    return s_.settings.ReadText("PCSetting", "PortScanMode") == "Auto";
}

std::size_t ConnectionManager::ProbePorts() {
    ports_.clear();
    knownDevices_.clear();
    for (const PortEntry& device : s_.session.Link().Devices()) {
        if (s_.session.Link().Present(device.devicePath))
            knownDevices_.push_back(device.devicePath);
        if (s_.session.Link().Probe(device.devicePath) == OpenFailure::None)
            ports_.push_back(device);
    }
    return ports_.size();
}

bool ConnectionManager::NoticeArrivals() {
    std::vector<std::string> present;
    bool arrived = false;
    for (const PortEntry& device : s_.session.Link().Devices()) {
        if (!s_.session.Link().Present(device.devicePath)) continue;
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
    s_.session.Link().Close();
    portOpen_ = false;
}

void ConnectionManager::StartScan() {
    s_.timers.KillTimer(kTimerScan);
    StopPort();
    s_.session.SetConnected(false);
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
    if (port && s_.session.Link().LastFailure() == OpenFailure::PermissionDenied) {
        message += "\n" + PermissionHint();
    }
    s_.host.MessageBox(message);
}

void ConnectionManager::OpenConfiguredPort() {
    s_.timers.KillTimer(kTimerScan);
    StopPort();
    s_.session.SetConnected(false);
    const unsigned baud = s_.session.Baud();
    const int com = s_.settings.ReadInt("PCSetting", "Com", 12);
    const auto devices = s_.session.Link().Devices();
    const auto port = std::find_if(devices.begin(), devices.end(), [com](const PortEntry& p) {
        return static_cast<int>(p.number) == com;
    });
    if (port == devices.end() || !s_.session.Link().Open(port->number, port->devicePath, baud)) {
        ReportOpenFailure(port == devices.end() ? nullptr : &*port, static_cast<unsigned>(com));
        return;
    }
    portOpen_ = true;
    s_.session.PortOpened();
    openNumber_ = port->number;
    openPort_ = *port;
    ShowPort(*port);
    s_.timers.SetTimer(kTimerScan, 1000, s_.clock.SteadyMs());
    SendConnectRequest();
}

bool ConnectionManager::OpenByHand(const std::string& path) {
    const auto number = s_.session.Link().AddByHand(path);
    if (!number) return false;
    if (std::none_of(ports_.begin(), ports_.end(),
                     [&path](const PortEntry& port) { return port.devicePath == path; })) {
        ports_.push_back({*number, path, {}});
    }
    s_.settings.Write("PCSetting", "Com", std::to_string(*number));
    s_.settings.Write("PCSetting", "PortScanMode", "Manual");
    OpenConfiguredPort();
    return true;
}

void ConnectionManager::SendConnectRequest() {
    s_.session.Send(kLinkControlGroup, kConnectRequestId, 0, nullptr);
}

void ConnectionManager::ShowPort(const PortEntry& port) {
    s_.setStatus(kStatusPort, ComName(port.number), 0);
}

bool ConnectionManager::OpenForScan(const PortEntry& port) {
    if (s_.session.Link().Open(port.number, port.devicePath, s_.session.Baud())) {
        portOpen_ = true;
        s_.session.PortOpened();
        openNumber_ = port.number;
        openPort_ = port;
        return true;
    }
    if (s_.session.Link().LastFailure() == OpenFailure::PermissionDenied && !permissionHintShown_) {
        permissionHintShown_ = true;
        s_.setStatus(kStatusMain, ComName(port.number) + ": " + PermissionHint(), 0);
    }
    return false;
}

void ConnectionManager::OnScanTimer() {
    s_.session.UpdateRates();
    if (s_.session.Connected() || s_.session.LinkHeld()) return;
    if (!AutoMode()) {
        if (portOpen_) {
            SendConnectRequest();
            return;
        }
        // The configured port was lost: try it again every second, quietly.
        const int com = s_.settings.ReadInt("PCSetting", "Com", 12);
        for (const PortEntry& device : s_.session.Link().Devices()) {
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

// A network link says why it ended; that follows the usual text.
void ConnectionManager::PortLost(unsigned portNumber, const std::string& reason) {
    if (!portOpen_ || portNumber != openNumber_) return;
    portOpen_ = false;
    s_.session.SetConnected(false);
    s_.session.Link().Close();
    std::string lost =
        AddedText(s_.texts, "Panel", "Port Lost", "Connection lost:") + " " + ComName(portNumber);
    if (!reason.empty()) lost += " (" + reason + ")";
    if (onPortLost) onPortLost(lost);
    if (AutoMode()) {
        StartScan();
        // Keep looking once a second even when no port is left, so the board is found again
        // when it comes back.
        if (!s_.timers.IsRunning(kTimerScan))
            s_.timers.SetTimer(kTimerScan, 1000, s_.clock.SteadyMs());
    }
    s_.setStatus(kStatusMain, lost, 0);
}

void ConnectionManager::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::kCheckConnect, [this](const ReceiveArea&) {
        const bool before = s_.session.Connected();
        s_.session.SetConnected(true);
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
