#pragma once

#include <array>

#include "pages/ahrs/ahrs_records.h"
#include "pages/autopilot/gpsins_records.h"
#include "pages/autopilot/pid_records.h"
#include "pages/osd_tracker/osd_cal_records.h"

namespace zephran {

// Every receive record, for the life of the process: the dispatcher's handlers write them, pages
// and views read them, and several pages send them back as the payload of their writes.
struct RecordStore {
    AhrsLiveRecord ahrsLive{};
    GpsInsQrRecord gpsInsQr{};
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
};

}  // namespace zephran
