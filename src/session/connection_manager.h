#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/frame_sender.h"
#include "link/serial_link.h"
#include "link/traffic_log.h"
#include "platform/clock.h"
#include "session/settings_file.h"
#include "session/wrong_product_hint.h"
#include "ui/host_services.h"
#include "ui/timers.h"

namespace zephran {

inline constexpr int kTimerPending = 1;  // 10 ms: pending requests and the erase countdown
inline constexpr int kTimerScan = 2;     // 1000 ms: rates, port scanning, connect requests
inline constexpr int kTimerViews = 3;    // 5 ms, only while an open 3-D view has news to draw

// One request written while connected and not answered yet.
struct PendingRequest {
    std::uint16_t key;
    std::uint8_t group;
    std::uint8_t msgId;
    std::uint16_t remaining;
    std::uint16_t total;
};

// Finds the board and watches the link: the port probe, the automatic scan or the configured
// port, the connect handshake, pending requests and their time-outs, the rates of live data,
// and the link-control replies and the board's text stream.
class ConnectionManager {
public:
    struct Services {
        const SettingsFile& settings;
        const TextSource& texts;
        ui::HostServices& host;
        ui::TimerTable& timers;
        const Clock& clock;
        SerialLink& link;
        FrameSender& sender;
        TrafficLog& log;
        const ReplyDispatcher& dispatcher;
        std::function<void(int code, const std::string& text, int value)> setStatus;
        std::function<void(const std::string& text)> showText;  // the board's text box
    };

    explicit ConnectionManager(Services services) : s_(std::move(services)) {}

    // Tries every device and keeps those that open; returns how many.
    std::size_t ProbePorts();
    void StartScan();
    void OpenConfiguredPort();
    void SendConnectRequest();

    void OnPendingTimer();
    void OnScanTimer();
    // Bytes and errors from the port; bytes go to parse in arrival order, a run at a time.
    void HandlePortEvents(const std::function<void(const std::uint8_t*, std::size_t)>& parse);

    // A request's time-out is 100 ticks of 10 ms after its frame has left: a long frame at a low
    // baud rate (a firmware page at 9600 baud takes over a second) gets its time on the wire.
    void AddPending(std::uint8_t group, std::uint8_t msgId, std::size_t frameBytes);
    void RemovePending(std::uint8_t group, std::uint8_t msgId);
    void RegisterReplies(ReplyDispatcher& dispatcher);

    // Another product was chosen: its requests are counted afresh toward the wrong-product hint.
    void ProductChanged() { wrongProduct_.StartOver(); }

    bool Connected() const { return connected_; }
    bool PortOpen() const { return portOpen_; }
    // The port open now, or null.
    const PortEntry* OpenPort() const { return portOpen_ ? &openPort_ : nullptr; }
    void NoticeNewDevice() { newDevice_ = true; }
    const std::vector<PendingRequest>& Pending() const { return pending_; }
    const std::vector<PortEntry>& Ports() const { return ports_; }
    std::uint32_t Rate(LiveStream stream) const { return rates_[LiveIndex(stream)]; }
    const std::string& TextStream() const { return textStream_; }
    // Received bytes the port dropped because they were not taken in time, since the start.
    std::uint64_t DiscardedBytes() const { return discardedBytes_; }

    // Set while the board runs its three-axis magnetometer calibration: the rates pause.
    bool magCalibrating = false;
    // True while the firmware update or a parameter transfer holds the link: the progress bar
    // is left to it, and the scan neither closes nor reopens the port.
    std::function<bool()> linkHeld;
    // The open port went away; why, as the status pane says it.
    std::function<void(const std::string& why)> onPortLost;
    // A board answered the connect request after none did.
    std::function<void()> onConnected;
    // A request timed out; message is the text of its message box.
    std::function<void(std::uint8_t group, std::uint8_t msgId, const std::string& message)>
        onTimedOut;

private:
    bool AutoMode() const;
    bool LinkHeld() const { return linkHeld && linkHeld(); }
    unsigned Baud() const;
    bool OpenForScan(const PortEntry& port);
    void StopPort();
    void ShowPort(const PortEntry& port);
    void ReportOpenFailure(const PortEntry* port, unsigned number);
    // What to do when the system refuses the port to this user.
    std::string PermissionHint() const;
    void TextFrame(const ReceiveArea& frame);
    // The live data rates of the product in the status pane.
    void ShowRates();
    // Counts a timed-out request toward the wrong-product hint and tells the hint when due.
    void NoticeTimeOut(const PendingRequest& request);
    // Notes the devices present now; true when one of them was not there before.
    bool NoticeArrivals();

    Services s_;
    bool connected_ = false;
    bool portOpen_ = false;
    bool newDevice_ = false;
    bool permissionHintShown_ = false;
    std::vector<PortEntry> ports_;
    std::vector<std::string> knownDevices_;
    std::size_t scanIndex_ = 0;
    unsigned openNumber_ = 0;
    PortEntry openPort_;
    std::vector<PendingRequest> pending_;
    std::array<std::uint32_t, 4> lastCounts_{};
    std::array<std::uint32_t, 4> rates_{};
    std::string textStream_;
    int textFrames_ = 0;
    WrongProductHint wrongProduct_;
    std::uint64_t discardedBytes_ = 0;
};

}  // namespace zephran
