#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zephran {

// The live streams whose frames are counted into rates.
enum class LiveStream : std::uint8_t { kNone, kAhrs, kSensorsRaw, kGpsRaw, kNavOutput };
inline constexpr std::size_t kLiveStreamCount = 4;
constexpr std::size_t LiveIndex(LiveStream stream) {
    return static_cast<std::size_t>(stream) - 1;
}

// The receive records that replies fill; the record store gives each one its bytes.
enum class ReplyRecord : std::uint8_t {
    kNone,
    kAhrsLive,
    kAhrsParam,
    kFirGyro,
    kFirAcc,
    kFirMag,
    kAccCal,
    kGyroCal,
    kMagCal,
    kMag3AxisCal,
    kAcc6Face,
    kMag6Face,
    kMag6FaceCal,
    kGpsInsQr,
    kGpsInsMisc,
    kSensorsRaw,
    kGpsRaw,
    kNavOutput,
    kPidSet,  // one record per controller, chosen by the message
    kOsdCal,
    kAatOffsets,
    kAatStep,
    kAatYawPid,
    kAatServoGap,
};

// One message of the catalogue and what a reply of it gets: its traffic-log name, whether it
// is logged, which receive record it fills and which live stream it counts toward.
struct Message {
    std::uint8_t group = 0;
    std::uint8_t msgId = 0;
    std::string_view name;
    bool logged = false;
    ReplyRecord record = ReplyRecord::kNone;
    // A reply shorter than this changes no record and reaches no handler; 0 takes any length,
    // copying what the frame carries and keeping the record's tail.
    std::uint16_t required = 0;
    LiveStream live = LiveStream::kNone;
    std::uint8_t recordIndex = 0;  // which of several records of its kind

    constexpr bool Is(std::uint8_t g, std::uint8_t m) const { return group == g && msgId == m; }
};

}  // namespace zephran
