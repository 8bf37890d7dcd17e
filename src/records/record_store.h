#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "link/message.h"
#include "records/aat_servo_records.h"
#include "records/aat_tracker_records.h"
#include "records/ahrs_records.h"
#include "records/gpsins_records.h"
#include "records/gpsins_texts.h"
#include "records/osd_cal_records.h"
#include "records/pid_records.h"

namespace zephran {

// Every receive record, for the life of the process: the dispatcher copies each reply into the
// record its message names, pages and views read them, and several pages send them back as the
// payload of their writes.
struct RecordStore {
    AhrsLiveRecord ahrsLive{};
    GpsInsQrRecord gpsInsQr{};
    GpsInsMiscRecord gpsInsMisc{};
    SensorsRawRecord sensorsRaw{};
    GpsRawRecord gpsRaw{};
    NavOutputRecord navOutput{};
    // Derived from the records above before any page handles their replies.
    NavigationSample navSample{};
    GpsInsTexts gpsInsTexts;
    AhrsParamRecord ahrsParam{};
    FirRecord firGyro{};
    FirRecord firAcc{};
    FirRecord firMag{};
    CoefficientRecord accCal{};
    CoefficientRecord gyroCal{};
    MagCalRecord magCal{};
    Mag3AxisCalRecord mag3AxisCal{};
    SixFaceRecord acc6Face{};
    SixFaceRecord mag6Face{};
    CoefficientRecord mag6FaceCal{};
    // The airplane PID controllers in message order: the inner loops, then the outer loops.
    std::array<PidSetRecord, kPidSetCount> pidSets{};
    OsdCalRecord osdCal{};
    AatOffsetRecord aatOffsets{};
    float aatStep{};
    AatYawPidRecord aatYawPid{};
    std::int32_t aatServoGap{};
    AatMagRecord aatMag{};
    AatMagCalRecord aatMagCal{};
    float aatMotorSpeed{};
    float aatCompassOffset{};
    AatStatusRecord aatStatus{};

    // The bytes of a record kind; index picks one of several records of a kind.
    std::span<std::uint8_t> Bytes(ReplyRecord kind, std::size_t index = 0);
    std::span<std::uint8_t> Bytes(const Message& message) {
        return Bytes(message.record, message.recordIndex);
    }
};

}  // namespace zephran
