#include "recording/replay_link.h"

#include <algorithm>

namespace zephran {
namespace {

// Records handed over per tick at the highest speed, so the thread keeps room for the rest.
constexpr std::size_t kMaxPerTick = 100;

}  // namespace

void ReplayLink::Load(std::string path, Recording recording) {
    recording_ = std::move(recording);
    path_ = std::move(path);
    position_ = 0;
    playing_ = false;
    changed.Emit();
}

void ReplayLink::Play(std::int64_t nowMs) {
    if (!Loaded()) return;
    if (position_ >= Length()) position_ = 0;
    // What was shown meanwhile may have come from elsewhere.
    frames_.Restart();
    playing_ = true;
    originMs_ = nowMs;
    originPosition_ = position_;
    changed.Emit();
}

void ReplayLink::Pause() {
    playing_ = false;
    changed.Emit();
}

void ReplayLink::SetSpeed(int speed, std::int64_t nowMs) {
    speed_ = speed;
    originMs_ = nowMs;
    originPosition_ = position_;
}

void ReplayLink::Tick(std::int64_t nowMs, const FrameSink& sink) {
    if (!playing_) return;
    std::size_t due = Length();
    if (speed_ == kMaxSpeed) {
        due = std::min(Length(), position_ + kMaxPerTick);
    } else {
        const std::int64_t elapsed = std::max<std::int64_t>(nowMs - originMs_, 0);
        due = std::min<std::size_t>(
            Length(), originPosition_ +
                          static_cast<std::size_t>(elapsed * speed_ * kRecordsPerSecond / 1000));
    }
    if (due <= position_) return;
    for (; position_ < due; ++position_)
        frames_.Emit(recording_.records[position_], sink);
    if (position_ >= Length()) playing_ = false;
    changed.Emit();
}

bool ReplayLink::Open(unsigned /*baud*/) {
    return Loaded();
}

bool ReplayLink::Write(const std::uint8_t* /*bytes*/, std::size_t /*count*/) {
    return false;
}

std::vector<PortEvent> ReplayLink::TakeEvents() {
    PortEvent due;
    Tick(clock_.SteadyMs(), [&due](std::span<const std::uint8_t> frame) {
        due.bytes.insert(due.bytes.end(), frame.begin(), frame.end());
    });
    if (due.bytes.empty()) return {};
    return {std::move(due)};
}

OpenFailure ReplayLink::LastFailure() const {
    return Loaded() ? OpenFailure::None : OpenFailure::NoSuchDevice;
}

}  // namespace zephran
