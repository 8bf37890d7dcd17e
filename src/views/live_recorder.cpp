#include "views/live_recorder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "pages/ahrs/ahrs_records.h"
#include "pages/record_store.h"
#include "platform/app_paths.h"
#include "views/recording_file.h"

namespace zephran {
namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kGravity = 9.7873;

void PutFloat(std::uint8_t* at, double value) {
    const auto f = static_cast<float>(value);
    std::memcpy(at, &f, sizeof f);
}

template <std::size_t N>
void CopyBounded(std::array<std::uint8_t, N>& record, const ReceiveArea& frame) {
    std::memcpy(record.data(), frame.payload, std::min<std::size_t>(frame.Length(), N));
}

}  // namespace

std::string FormatElapsed(long long seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%i : %i : %i ", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

void LiveRecorder::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_ID_AHRS_DATE_COME, [this](const ReceiveArea&) { AhrsLive(); });
    dispatcher.Route(msg::DL_GPSINS_SENSORRAW,
                     [this](const ReceiveArea& f) { CopyBounded(sources_.sensorsRaw, f); });
    dispatcher.Route(msg::DL_GPSINS_GPSRAW,
                     [this](const ReceiveArea& f) { CopyBounded(sources_.gpsRaw, f); });
}

void LiveRecorder::AhrsLive() {
    const AhrsLiveRecord& live = s_.records.ahrsLive;
    std::uint8_t* raw = sources_.sensorsRaw.data();
    PutFloat(raw + 1, live.gx * kRadiansPerDegree);
    PutFloat(raw + 5, live.gy * kRadiansPerDegree);
    PutFloat(raw + 9, live.gz * kRadiansPerDegree);
    PutFloat(raw + 13, live.ax * kGravity);
    PutFloat(raw + 17, live.ay * kGravity);
    PutFloat(raw + 21, live.az * kGravity);
    PutFloat(raw + 25, live.mx);
    PutFloat(raw + 29, live.my);
    PutFloat(raw + 33, live.mz);
    sources_.navigation.roll = live.roll;
    sources_.navigation.pitch = live.pitch;
    sources_.navigation.yaw = live.yaw;
    if (kind_ == RecordKind::Ahrs) WriteRecord();
}

void LiveRecorder::NavigationSampled(const NavigationSample& sample) {
    sources_.navigation = sample;
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
    writer_ = std::make_unique<RecordWriter>(fd, kLiveRecordSize);
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

void LiveRecorder::WriteRecord() {
    if (!writer_) return;
    // A failed write ends the recording once, with what was written whole kept.
    if (writer_->Failed()) {
        Stop();
        return;
    }
    elapsed_ = FormatElapsed(std::llabs(static_cast<long long>(s_.clock.WallTime() - start_)));
    const LiveRecordBytes record = BuildLiveRecord(sources_);
    writer_->Append(record);
    changed.Emit();
}

}  // namespace zephran
