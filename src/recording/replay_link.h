#pragma once

#include <cstdint>
#include <string>

#include "link/transport.h"
#include "platform/clock.h"
#include "recording/recording_reader.h"
#include "recording/replay_frames.h"
#include "ui/change_signal.h"

namespace zephran {

// Plays a recording back as the frames a board would have sent: each record becomes the AHRS
// live reply or the GPS/INS replies it was made from. As a transport it receives the frames due
// by the clock's time and takes nothing to send.
class ReplayLink : public Transport {
public:
    explicit ReplayLink(const Clock& clock) : clock_(clock) {}

    // Records a second at 1×: the rate the boards stream at unless told otherwise.
    static constexpr int kRecordsPerSecond = 50;
    // Playback speeds; 0 is as fast as the user-interface thread allows.
    enum Speed : int { kMaxSpeed = 0 };

    // Takes a recording to play from its start, paused.
    void Load(std::string path, Recording recording);
    void Play(std::int64_t nowMs);
    void Pause();
    // 1, 2, 4 or kMaxSpeed.
    void SetSpeed(int speed, std::int64_t nowMs);
    // Hands sink the frames due by nowMs.
    void Tick(std::int64_t nowMs, const FrameSink& sink);

    // Transport. Open succeeds when a recording is loaded, whatever the baud; Close pauses. The
    // events are the frames due now, as one batch of received bytes.
    bool Open(unsigned baud) override;
    void Close() override { Pause(); }
    bool Write(const std::uint8_t* bytes, std::size_t count) override;
    std::vector<PortEvent> TakeEvents() override;
    OpenFailure LastFailure() const override;
    std::string Name() const override { return path_; }

    bool Loaded() const { return !path_.empty(); }
    bool Playing() const { return playing_; }
    const std::string& Path() const { return path_; }
    std::size_t Position() const { return position_; }
    std::size_t Length() const { return recording_.records.size(); }
    // Told when playback starts, pauses, ends or moves on.
    ui::ChangeSignal changed;

private:
    const Clock& clock_;
    Recording recording_;
    std::string path_;
    std::size_t position_ = 0;
    bool playing_ = false;
    int speed_ = 1;
    // Where the clock stood at position 0 of the current speed.
    std::int64_t originMs_ = 0;
    std::size_t originPosition_ = 0;
    RecordFrames frames_;
};

}  // namespace zephran
