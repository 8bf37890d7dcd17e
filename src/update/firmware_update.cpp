#include "update/firmware_update.h"

#include <array>
#include <cstdio>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "session/status_codes.h"

namespace zephran {
namespace {

// The refusals' English texts, for a language file that lacks them.
constexpr const char* kEmptyImage = "The firmware file is empty.";
constexpr const char* kImageTooLarge = "The firmware file is larger than 256 pages (256 KiB).";

std::string Numbered(const std::string& text, unsigned number) {
    return text + " " + std::to_string(number);
}

std::string Seconds(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(ms) / 1000.0);
    return text;
}

}  // namespace

void FirmwareUpdate::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::kQueryUpdate, [this](const ReceiveArea&) { Acknowledged(); });
    dispatcher.Route(msg::kQueryData, [this](const ReceiveArea& frame) { PageRequested(frame); });
}

void FirmwareUpdate::Start(const std::string& path) {
    if (path.empty()) {
        s_.host.MessageBox(Text("MessagBox", "Select Bin File First"));
        return;
    }
    switch (image_.Read(path)) {
        case FirmwareImage::Load::Ok:
            break;
        case FirmwareImage::Load::NotReadable:
            s_.host.MessageBox(Text("MessagBox", "Open File Err"));
            return;
        case FirmwareImage::Load::Empty:
            s_.host.MessageBox(AddedText(s_.texts, "MessagBox", "Bin File Empty", kEmptyImage));
            return;
        case FirmwareImage::Load::TooLarge:
            s_.host.MessageBox(
                AddedText(s_.texts, "MessagBox", "Bin File Too Large", kImageTooLarge));
            return;
    }
    const auto count = static_cast<std::uint16_t>(image_.PageCount());
    const std::array<std::uint8_t, 2> payload{static_cast<std::uint8_t>(count & 0xFF),
                                              static_cast<std::uint8_t>(count >> 8)};
    startOutstanding_ =
        s_.send(msg::kQueryUpdate.group, msg::kQueryUpdate.msgId, 2, payload.data());
    if (!startOutstanding_) return;
    startedMs_ = s_.clock.SteadyMs();
    outcome_ = nullptr;
    changed.Emit();
}

void FirmwareUpdate::Acknowledged() {
    // An acknowledgement nobody waits for (a late one after a cancel) starts nothing.
    if (!startOutstanding_) return;
    startOutstanding_ = false;
    s_.log.LogTraffic(TrafficDirection::Received, msg::kQueryUpdate.group, msg::kQueryUpdate.msgId);
    active_ = true;
    outcome_ = nullptr;
    eraseCountdown_ = kEraseTicks;
    s_.setStatus(kStatusProgress, "", 0);
    s_.setStatus(kStatusMain, Text("Panel", "erase"), 0);
    changed.Emit();
}

void FirmwareUpdate::PageRequested(const ReceiveArea& frame) {
    if (!active_) return;
    eraseCountdown_ = 0;
    const std::uint8_t* payload = frame.payload;
    const unsigned page = frame.Length() >= 2 ? unsigned(payload[0] | payload[1] << 8) : 0;
    const std::uint32_t count = image_.PageCount();
    if (page == count) {
        s_.log.LogTraffic(TrafficDirection::Received, msg::kQueryData.group, msg::kQueryData.msgId);
        s_.setStatus(kStatusMain, Text("MessagBox", "Firmware Update Succeed"), 0);
        const std::int64_t elapsed = s_.clock.SteadyMs() - startedMs_;
        outcome_ = [this, count, elapsed] {
            const std::string done =
                AddedText(s_.texts, "DlgIAPUPDATE", "Update Succeeded", "%1 (%2 pages, %3 s)");
            return FillIn(done, {Text("MessagBox", "Firmware Update Succeed"),
                                 std::to_string(count), Seconds(elapsed)});
        };
        Finish();
        return;
    }
    s_.setStatus(kStatusMain, Numbered(Text("Panel", "programming"), page), 0);
    s_.log.LogTraffic(TrafficDirection::Received, msg::kQueryData.group, msg::kQueryData.msgId);
    if (page > count) {
        Failed([this] { return Text("MessagBox", "Wrong Page"); });
        Finish();
        s_.host.MessageBox(Text("MessagBox", "Wrong Page"));
        return;
    }
    s_.log.AddLine(Numbered(Text("Communicate State", "Request Page"), page));
    s_.setStatus(kStatusProgress, "", static_cast<int>(page * 100 / count));
    std::array<std::uint8_t, 2 + kFirmwarePageSize> answer{};
    answer[0] = static_cast<std::uint8_t>(page & 0xFF);
    answer[1] = static_cast<std::uint8_t>(page >> 8);
    const FirmwarePage data = image_.Page(page);
    std::copy(data.begin(), data.end(), answer.begin() + 2);
    s_.send(msg::kQueryData.group, msg::kQueryData.msgId, static_cast<std::uint16_t>(answer.size()),
            answer.data());
}

void FirmwareUpdate::OnTimerTick() {
    if (!active_ || eraseCountdown_ < 1 || --eraseCountdown_ != 0) return;
    Failed([this] { return Text("Panel", "erase timeout"); });
    Finish();
    const std::string timeout = Text("Panel", "erase timeout");
    s_.setStatus(kStatusMain, timeout, 0);
    s_.host.MessageBox(timeout);
}

void FirmwareUpdate::Cancel() {
    if (!active_) return;
    outcome_ = [this] { return Text("Panel", "User Cancal"); };
    Finish();
    s_.setStatus(kStatusMain, Text("Panel", "User Cancal"), 0);
}

void FirmwareUpdate::PortLost(const std::string& why) {
    if (!active_ && !startOutstanding_) return;
    Failed([why] { return why; });
    startOutstanding_ = false;
    if (active_) Finish();
}

void FirmwareUpdate::RequestTimedOut(std::uint8_t group, std::uint8_t msgId,
                                     const std::string& message) {
    // The board never acknowledged the start: nothing runs, the attempt failed. A late
    // acknowledgement still starts the update and clears this.
    if (!startOutstanding_ || !msg::kQueryUpdate.Is(group, msgId)) return;
    Failed([message] { return message; });
}

bool FirmwareUpdate::AskToStop(Then then) {
    if (!active_) return true;
    const std::string question =
        then == Then::Quit ? AddedText(s_.texts, "MessagBox", "Update Running Quit",
                                       "A firmware update is running. Stop it and quit?")
                           : AddedText(s_.texts, "MessagBox", "Update Running Change Product",
                                       "A firmware update is running. Stop it and change the "
                                       "product?");
    if (!s_.host.AskYesNo(question)) return false;
    // The question runs an event loop: the update may have ended meanwhile.
    Cancel();
    return true;
}

void FirmwareUpdate::Failed(std::function<std::string()> reason) {
    outcome_ = [this, reason = std::move(reason)] {
        return FillIn(
            AddedText(s_.texts, "DlgIAPUPDATE", "Update Failed", "Firmware update failed: %1"),
            {reason()});
    };
    changed.Emit();
}

void FirmwareUpdate::Finish() {
    startOutstanding_ = false;
    active_ = false;
    eraseCountdown_ = 0;
    // The board is not answered any more: nothing it was asked may time out later.
    s_.forgetPending(msg::kQueryUpdate.group, msg::kQueryUpdate.msgId);
    s_.forgetPending(msg::kQueryData.group, msg::kQueryData.msgId);
    s_.setStatus(kStatusProgress, "", 0);
    changed.Emit();
}

}  // namespace zephran
