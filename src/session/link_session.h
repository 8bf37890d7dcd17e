// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/frame_receiver.h"
#include "link/frame_sender.h"
#include "link/serial_link.h"
#include "link/traffic_log.h"
#include "session/pending_requests.h"
#include "session/settings_file.h"
#include "session/wrong_product_hint.h"
#include "ui/host_services.h"
#include "ui/status_bar.h"

namespace zephran {

struct RecordStore;

// The link to the board as the pages and the main window use it: the open port and the frames
// written and received over it, the requests awaiting their replies, the rates of live data and
// the board's text stream. A played-back recording's frames reach the same replies through a
// receiver of their own; while it plays, the board's own live data is dropped.
class LinkSession : private FrameSenderHost,
                    private FrameDispatcher,
                    private ReplyDispatcher::Bookkeeping,
                    private SerialPortOwner {
public:
    struct Services {
        const SettingsFile& settings;
        const TextSource& texts;
        ui::HostServices& host;
        ui::StatusBarModel& statusBar;
        TrafficLog& log;
        RecordStore& records;
        // The played-back recording, and whether it plays now.
        Transport& replay;
        std::function<bool()> replaying;
        std::function<void(const std::string& text)> showText;  // the board's text box
    };

    // link: the ports to use; null for the real devices of the port directory.
    LinkSession(Services services, PortDirectoryOptions ports, std::unique_ptr<SerialLink> link);
    ~LinkSession() override;

    // Routes the board's text stream and the end of its compass calibration.
    void RegisterReplies();

    // Stages a frame; senders call CheckConnected right after it.
    bool SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                   const std::uint8_t* payload);
    // Writes the staged frame when connected; true when it was written, and then it is pending.
    bool CheckConnected() { return sender_.CheckConnected(); }
    // SendFrame, then CheckConnected.
    bool Send(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
              const std::uint8_t* payload);

    // The port's events: bytes to the replies, overflow and errors to the user, a lost port to
    // onPortLost.
    void ProcessPortEvents();
    // Every 10 ms: the recording's frames due, then the requests' time-outs.
    void OnPendingTimer();
    // Every second: the rates of live data, shown unless the compass calibration runs.
    void UpdateRates();
    // The RX and TX counters in their panes.
    void ShowCounters();

    // The front end's wake-up, called on a transport's thread when its events wait.
    void SetWakeUpHandler(std::function<void()> wakeUp);

    // The port scan and the handshake set these: a board answered, a port was opened, another
    // product was chosen.
    void SetConnected(bool connected) { connected_ = connected; }
    void PortOpened() { wrongProduct_.Reset(); }
    void ProductChanged() { wrongProduct_.StartOver(); }

    // The request's reply came, or it no longer waits for one.
    void RemovePending(std::uint8_t group, std::uint8_t msgId) override;

    SerialLink& Link() { return *link_; }
    ReplyDispatcher& Dispatcher() { return dispatcher_; }
    const ReplyDispatcher& Dispatcher() const { return dispatcher_; }
    bool Connected() const { return connected_; }
    const std::vector<PendingRequest>& Pending() const { return pending_.List(); }
    std::uint32_t Rate(LiveStream stream) const { return rates_[LiveIndex(stream)]; }
    const std::string& TextStream() const { return textStream_; }
    std::uint32_t TransmitCount() const { return sender_.TransmitCount(); }
    // Received bytes the port dropped because they were not taken in time, since the start.
    std::uint64_t DiscardedBytes() const { return discardedBytes_; }
    // Set while the board runs its three-axis compass calibration: the rates pause.
    bool MagCalibrating() const { return magCalibrating_; }
    // The baud rate the port is opened with, as the settings say.
    unsigned Baud() const;
    // Whether the firmware update or a parameter transfer holds the link.
    bool LinkHeld() const { return linkHeld && linkHeld(); }

    // True while the firmware update or a parameter transfer holds the link: the progress bar
    // is left to it, and the scan neither closes nor reopens the port.
    std::function<bool()> linkHeld;
    // The port numbered portNumber went away; a network link says why (else empty).
    std::function<void(unsigned portNumber, const std::string& reason)> onPortLost;
    // A request timed out; message is the text of its message box.
    std::function<void(std::uint8_t group, std::uint8_t msgId, const std::string& message)>
        onTimedOut;

private:
    // FrameSenderHost
    bool IsConnected() const override { return connected_; }
    void AddPendingRequest(std::uint8_t group, std::uint8_t msgId, std::size_t frameBytes) override;
    std::size_t WriteLimit() const override { return Transport::kWriteBufferSize; }
    bool WriteToPort(const std::uint8_t* bytes, std::size_t count) override;
    void ShowMessage(const std::string& text) override { s_.host.MessageBox(text); }
    void SetStatusText(int pane, const std::string& text) override;
    // FrameDispatcher
    int DispatchFrame(const ReceiveArea& frame) override;
    // ReplyDispatcher::Bookkeeping
    void ReceiveCounted(std::int32_t count) override;
    // SerialPortOwner
    void WakeUp() override;

    std::string Counter(const char* key, long long value) const;
    void TextFrame(const ReceiveArea& frame);
    // Counts a timed-out request toward the wrong-product hint and tells the hint when due.
    void NoticeTimeOut(const PendingRequest& request);
    // The live data rates of the product in the status pane.
    void ShowRates();

    Services s_;
    FrameSender sender_;
    FrameReceiver receiver_;
    ReplyDispatcher dispatcher_;
    FrameReceiver replayReceiver_;
    std::unique_ptr<SerialLink> link_;
    bool connected_ = false;
    bool magCalibrating_ = false;
    PendingRequests pending_;
    std::array<std::uint32_t, kLiveStreamCount> lastCounts_{};
    std::array<std::uint32_t, kLiveStreamCount> rates_{};
    std::string textStream_;
    int textFrames_ = 0;
    WrongProductHint wrongProduct_;
    std::uint64_t discardedBytes_ = 0;

    std::mutex wakeMutex_;
    std::function<void()> wakeUp_;
};

}  // namespace zephran
