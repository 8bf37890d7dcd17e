#include "views/replay_link.h"

#include <algorithm>
#include <cstring>

#include "link/crc16.h"

namespace zephran {
namespace {

constexpr std::uint8_t kAhrsGroup = 15, kAhrsLiveId = 1;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kGravity = 9.7873;
// Records handed over per tick at the highest speed, so the thread keeps room for the rest.
constexpr std::size_t kMaxPerTick = 100;

float FloatAt(const LiveRecordBytes& record, std::size_t offset) {
    float value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

void PutFloat(std::uint8_t* at, double value) {
    const auto f = static_cast<float>(value);
    std::memcpy(at, &f, sizeof f);
}

}  // namespace

std::array<std::uint8_t, 49> AhrsLivePayload(const LiveRecordBytes& record) {
    using namespace live_record;
    std::array<std::uint8_t, 49> live{};
    live[0] = record[kSensorByte];
    // Roll, pitch and yaw: navigation-sample bytes 37 to 48.
    std::memcpy(live.data() + 1, record.data() + kNavigation + 36, 12);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        PutFloat(live.data() + 13 + 4 * axis,
                 FloatAt(record, kSensors + 4 * axis) * kDegreesPerRadian);
        PutFloat(live.data() + 25 + 4 * axis, FloatAt(record, kSensors + 12 + 4 * axis) / kGravity);
        std::memcpy(live.data() + 37 + 4 * axis, record.data() + kSensors + 24 + 4 * axis, 4);
    }
    return live;
}

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
    for (; position_ < due; ++position_) {
        const auto payload = AhrsLivePayload(recording_.records[position_]);
        std::array<std::uint8_t, 8 + payload.size()> frame{
            'T', 'M', kAhrsGroup, kAhrsLiveId, payload.size() & 0xFF, 0};
        std::copy(payload.begin(), payload.end(), frame.begin() + 6);
        const std::uint16_t crc = CalcCrc16(frame.data() + 2, 4 + payload.size());
        frame[6 + payload.size()] = static_cast<std::uint8_t>(crc & 0xFF);
        frame[7 + payload.size()] = static_cast<std::uint8_t>(crc >> 8);
        sink(frame);
    }
    if (position_ >= Length()) playing_ = false;
    changed.Emit();
}

}  // namespace zephran
