#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "link/frame_receiver.h"
#include "platform/clock.h"
#include "recording/live_record.h"
#include "recording/record_writer.h"
#include "ui/change_signal.h"
#include "ui/host_services.h"

namespace zephran {

class ReplyDispatcher;
struct RecordStore;

// What a recording takes, as the record-kind list names it.
enum class RecordKind : std::uint8_t { None = 1, Osd = 2, GpsIns = 3, Ahrs = 4 };

// Records live telemetry to a file in the Log folder: one 242-byte record per AHRS live reply
// (kind AHRS) or per navigation output (kind GPSINS), made of the latest sensor and GPS records
// and the navigation sample in the record store.
class LiveRecorder {
public:
    struct Services {
        ui::HostServices& host;
        const Clock& clock;
        const std::string& logDir;
        const RecordStore& records;
    };

    explicit LiveRecorder(Services services) : s_(services) {}

    void RegisterReplies(ReplyDispatcher& dispatcher);

    // Starts recording kind into a new file, creating the Log folder when it is missing; a
    // failure shows its message. True when recording.
    bool Start(RecordKind kind);
    // Writes what is buffered and closes the file; a write that failed on the way is shown
    // once.
    void Stop();
    // The port went away: the recording ends with every record received kept.
    void PortLost() { Stop(); }
    // The 10 ms tick: hands records that waited a second to the disk, and ends the recording
    // with its message as soon as a write has failed.
    void OnTimerTick();

    // A navigation output has been taken into the record store: recorded when the kind is
    // GPSINS.
    void NavigationOutput();

    bool Recording() const { return writer_ != nullptr; }
    RecordKind Kind() const { return kind_; }
    const std::string& FilePath() const { return path_; }
    // Hours, minutes and seconds since the start, as of the last record.
    const std::string& ElapsedText() const { return elapsed_; }
    // Told when a recording starts or ends and when the elapsed time changes.
    ui::ChangeSignal changed;

private:
    void WriteRecord();

    Services s_;
    RecordKind kind_ = RecordKind::None;
    std::unique_ptr<RecordWriter> writer_;
    std::string path_;
    std::time_t start_ = 0;
    std::int64_t startMs_ = 0;
    std::string elapsed_;
};

// "%i : %i : %i " of hours, minutes and seconds.
std::string FormatElapsed(long long seconds);

}  // namespace zephran
