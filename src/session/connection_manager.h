#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "platform/clock.h"
#include "session/link_session.h"
#include "session/settings_file.h"
#include "ui/host_services.h"
#include "ui/timers.h"

namespace zephran {

inline constexpr int kTimerPending = 1;  // 10 ms: pending requests and the erase countdown
inline constexpr int kTimerScan = 2;     // 1000 ms: rates, port scanning, connect requests
inline constexpr int kTimerViews = 3;    // 5 ms, only while an open 3-D view has news to draw

// Finds the board for the link session: the port probe, the automatic scan or the configured
// port, the connect handshake and the link-control replies, and a lost port.
class ConnectionManager {
public:
    struct Services {
        const SettingsFile& settings;
        const TextSource& texts;
        ui::HostServices& host;
        ui::TimerTable& timers;
        const Clock& clock;
        LinkSession& session;
        std::function<void(int code, const std::string& text, int value)> setStatus;
    };

    explicit ConnectionManager(Services services);

    // Tries every device and keeps those that open; returns how many.
    std::size_t ProbePorts();
    void StartScan();
    void OpenConfiguredPort();
    // Lists a port the user named (a device path or a network address), makes it the configured
    // port and opens it in manual mode; false when no more ports can be listed.
    bool OpenByHand(const std::string& path);
    void SendConnectRequest();

    void OnScanTimer();
    void RegisterReplies(ReplyDispatcher& dispatcher);

    bool PortOpen() const { return portOpen_; }
    // The port open now, or null.
    const PortEntry* OpenPort() const { return portOpen_ ? &openPort_ : nullptr; }
    const std::vector<PortEntry>& Ports() const { return ports_; }

    // The open port went away; why, as the status pane says it.
    std::function<void(const std::string& why)> onPortLost;
    // A board answered the connect request after none did.
    std::function<void()> onConnected;

private:
    bool AutoMode() const;
    bool OpenForScan(const PortEntry& port);
    void StopPort();
    void ShowPort(const PortEntry& port);
    void ReportOpenFailure(const PortEntry* port, unsigned number);
    // What to do when the system refuses the port to this user.
    std::string PermissionHint() const;
    void PortLost(unsigned portNumber, const std::string& reason);
    // Notes the devices present now; true when one of them was not there before.
    bool NoticeArrivals();

    Services s_;
    bool portOpen_ = false;
    bool newDevice_ = false;
    bool permissionHintShown_ = false;
    std::vector<PortEntry> ports_;
    std::vector<std::string> knownDevices_;
    std::size_t scanIndex_ = 0;
    unsigned openNumber_ = 0;
    PortEntry openPort_;
};

}  // namespace zephran
