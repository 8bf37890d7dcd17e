#include "recording/live_recorder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "platform/app_paths.h"
#include "platform/raw_file.h"
#include "recording/record_times.h"
#include "recording/recording_file.h"
#include "records/ahrs_records.h"
#include "records/record_store.h"

namespace zephran {
namespace {

template <typename Record, std::size_t N>
void CopyRecord(std::array<std::uint8_t, N>& bytes, const Record& record) {
    static_assert(sizeof record == N);
    std::memcpy(bytes.data(), &record, N);
}

}  // namespace

std::string FormatElapsed(long long seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%i : %i : %i ", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

// The telemetry has updated the GPS/INS records and the navigation sample before these run,
// for AHRS live data too.
void LiveRecorder::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_ID_AHRS_DATE_COME, [this](const ReceiveArea&) {
        if (kind_ == RecordKind::Ahrs) WriteRecord();
    });
    dispatcher.Route(msg::DL_GPSINS_NAVOUTPUT, [this](const ReceiveArea&) { NavigationOutput(); });
}

void LiveRecorder::NavigationOutput() {
    if (kind_ == RecordKind::GpsIns) WriteRecord();
}

bool LiveRecorder::Start(RecordKind kind) {
    if (Recording()) return true;
    kind_ = kind;
    if (!MakeDirectories(s_.logDir)) {
        s_.host.MessageBox("Can not create directory ");
        return false;
    }
    start_ = s_.clock.WallTime();
    const int fd = CreateRecordingFile(s_.logDir, start_, path_);
    if (fd < 0) {
        s_.host.MessageBox("Creat File Err ");
        return false;
    }
    startMs_ = s_.clock.SteadyMs();
    std::vector<RecordWriter::Target> targets{{fd, kLiveRecordSize}};
    // Without its time file a recording still opens, with estimated times.
    const int timesFd = CreateOrEmptyFile(TimesPathFor(path_));
    if (timesFd >= 0) targets.push_back({timesFd, kTimeEntrySize});
    writer_ = std::make_unique<RecordWriter>(std::move(targets), s_.clock);
    elapsed_ = FormatElapsed(0);
    changed.Emit();
    return true;
}

void LiveRecorder::Stop() {
    if (!writer_) return;
    const bool closed = writer_->Close();
    const bool writeFailed = writer_->Failed();
    writer_.reset();
    changed.Emit();
    if (writeFailed) {
        s_.host.MessageBox("File  Write Err\n");
    } else if (!closed) {
        s_.host.MessageBox("The file  was not closed\n");
    }
}

// The writing thread only sets the writer's failure flag; it is noticed here, on the UI thread,
// within a tick even when no record comes any more.
void LiveRecorder::OnTimerTick() {
    if (!writer_) return;
    if (writer_->Failed()) {
        Stop();
        return;
    }
    writer_->Tick();
}

void LiveRecorder::WriteRecord() {
    if (!writer_) return;
    // A failed write ends the recording once, with what was written whole kept.
    if (writer_->Failed()) {
        Stop();
        return;
    }
    elapsed_ = FormatElapsed(std::llabs(static_cast<long long>(s_.clock.WallTime() - start_)));
    RecordSources sources;
    CopyRecord(sources.sensorsRaw, s_.records.sensorsRaw);
    CopyRecord(sources.gpsRaw, s_.records.gpsRaw);
    sources.navigation = s_.records.navSample;
    const LiveRecordBytes record = BuildLiveRecord(sources);
    const auto ms = std::clamp<std::int64_t>(s_.clock.SteadyMs() - startMs_, 0,
                                             std::numeric_limits<std::uint32_t>::max());
    const TimeEntryBytes time = EncodeTimeEntry(static_cast<std::uint32_t>(ms));
    const std::array<std::span<const std::uint8_t>, 2> entries{record, time};
    writer_->Append(entries);
    changed.Emit();
}

}  // namespace zephran
