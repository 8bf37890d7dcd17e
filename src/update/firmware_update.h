#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/frame_receiver.h"
#include "link/text_source.h"
#include "link/traffic_log.h"
#include "platform/clock.h"
#include "ui/change_signal.h"
#include "ui/host_services.h"
#include "update/firmware_image.h"

namespace zephran {

class ReplyDispatcher;

// Ticks of the 10 ms timer the board may take to erase its flash.
inline constexpr int kEraseTicks = 1000;

// The firmware update over the link: the start request, the board's acknowledgement, its page
// requests answered from the image read at start, the erase time-out and every way it ends.
// Runs on the user-interface thread.
class FirmwareUpdate {
public:
    struct Services {
        const TextSource& texts;
        ui::HostServices& host;
        TrafficLog& log;
        // SendFrame then CheckConnected; true when the frame was written.
        std::function<bool(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                           const std::uint8_t* payload)>
            send;
        std::function<void(int code, const std::string& text, int value)> setStatus;
        // Takes a message's requests off the pending list.
        std::function<void(std::uint8_t group, std::uint8_t msgId)> forgetPending;
        const Clock& clock;
    };

    // What the user is about to do while an update runs.
    enum class Then { ChangeProduct, Quit };

    explicit FirmwareUpdate(Services services) : s_(std::move(services)) {}

    void RegisterReplies(ReplyDispatcher& dispatcher);

    // Reads the image and asks the board to start; refusals show their message and send
    // nothing.
    void Start(const std::string& path);
    // Stops answering the board, which is not told.
    void Cancel();
    // The port went away (why: the status pane's text): the update ends.
    void PortLost(const std::string& why);
    // A request timed out (message: its message box's text); the start request's ends the
    // attempt.
    void RequestTimedOut(std::uint8_t group, std::uint8_t msgId, const std::string& message);
    // While an update runs, asks whether to stop it before going on; Yes stops it as Cancel
    // does. True when no update runs any more.
    bool AskToStop(Then then);
    // Every tick of the 10 ms timer: the erase countdown.
    void OnTimerTick();

    // From the acknowledgement to the end: the board erases or takes pages.
    bool Active() const { return active_; }
    int EraseCountdown() const { return eraseCountdown_; }
    // How the last update ended, in the current language, until the next start; empty before
    // the first.
    std::string Outcome() const { return outcome_ ? outcome_() : std::string(); }
    // Told whenever Active() or the outcome changes.
    ui::ChangeSignal changed;

private:
    void Acknowledged();
    void PageRequested(const ReceiveArea& frame);
    // Ends the update: inactive, progress 0, nothing outstanding or pending.
    void Finish();
    // Keeps "failed" with the reason as the outcome.
    void Failed(std::function<std::string()> reason);
    std::string Text(const char* section, const char* key) const {
        return s_.texts.LangText(section, key);
    }

    Services s_;
    FirmwareImage image_;
    bool startOutstanding_ = false;
    bool active_ = false;
    int eraseCountdown_ = 0;
    std::int64_t startedMs_ = 0;
    std::function<std::string()> outcome_;
};

}  // namespace zephran
