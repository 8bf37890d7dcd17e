#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/frame_receiver.h"
#include "link/text_source.h"
#include "link/traffic_log.h"
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
    };

    explicit FirmwareUpdate(Services services) : s_(std::move(services)) {}

    void RegisterReplies(ReplyDispatcher& dispatcher);

    // Reads the image and asks the board to start; refusals show their message and send
    // nothing.
    void Start(const std::string& path);
    // Stops answering the board, which is not told.
    void Cancel();
    // The port went away: the update ends.
    void PortLost();
    // Every tick of the 10 ms timer: the erase countdown.
    void OnTimerTick();

    // From the acknowledgement to the end: the board erases or takes pages.
    bool Active() const { return active_; }
    int EraseCountdown() const { return eraseCountdown_; }
    // Told whenever Active() changes.
    ui::ChangeSignal changed;

private:
    void Acknowledged();
    void PageRequested(const ReceiveArea& frame);
    // Ends the update: inactive, progress 0, nothing outstanding or pending.
    void Finish();
    std::string Text(const char* section, const char* key) const {
        return s_.texts.LangText(section, key);
    }
    // The text, or english when the language file has none.

    Services s_;
    FirmwareImage image_;
    bool startOutstanding_ = false;
    bool active_ = false;
    int eraseCountdown_ = 0;
};

}  // namespace zephran
