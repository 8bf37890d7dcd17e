#include "records/record_store.h"

#include <type_traits>

namespace zephran {
namespace {

template <typename Record>
std::span<std::uint8_t> BytesOf(Record& record) {
    static_assert(std::is_trivially_copyable_v<Record>);
    return {reinterpret_cast<std::uint8_t*>(&record), sizeof record};
}

}  // namespace

std::span<std::uint8_t> RecordStore::Bytes(ReplyRecord kind, std::size_t index) {
    switch (kind) {
        case ReplyRecord::kNone:
            break;
        case ReplyRecord::kAhrsLive:
            return BytesOf(ahrsLive);
        case ReplyRecord::kAhrsParam:
            return BytesOf(ahrsParam);
        case ReplyRecord::kFirGyro:
            return BytesOf(firGyro);
        case ReplyRecord::kFirAcc:
            return BytesOf(firAcc);
        case ReplyRecord::kFirMag:
            return BytesOf(firMag);
        case ReplyRecord::kAccCal:
            return BytesOf(accCal);
        case ReplyRecord::kGyroCal:
            return BytesOf(gyroCal);
        case ReplyRecord::kMagCal:
            return BytesOf(magCal);
        case ReplyRecord::kMag3AxisCal:
            return BytesOf(mag3AxisCal);
        case ReplyRecord::kAcc6Face:
            return BytesOf(acc6Face);
        case ReplyRecord::kMag6Face:
            return BytesOf(mag6Face);
        case ReplyRecord::kMag6FaceCal:
            return BytesOf(mag6FaceCal);
        case ReplyRecord::kGpsInsQr:
            return BytesOf(gpsInsQr);
        case ReplyRecord::kGpsInsMisc:
            return BytesOf(gpsInsMisc);
        case ReplyRecord::kSensorsRaw:
            return BytesOf(sensorsRaw);
        case ReplyRecord::kGpsRaw:
            return BytesOf(gpsRaw);
        case ReplyRecord::kNavOutput:
            return BytesOf(navOutput);
        case ReplyRecord::kPidSet:
            return BytesOf(pidSets.at(index));
        case ReplyRecord::kOsdCal:
            return BytesOf(osdCal);
        case ReplyRecord::kAatOffsets:
            return BytesOf(aatOffsets);
        case ReplyRecord::kAatStep:
            return BytesOf(aatStep);
        case ReplyRecord::kAatYawPid:
            return BytesOf(aatYawPid);
        case ReplyRecord::kAatServoGap:
            return BytesOf(aatServoGap);
        case ReplyRecord::kAatMag:
            return BytesOf(aatMag);
        case ReplyRecord::kAatMagCal:
            return BytesOf(aatMagCal);
        case ReplyRecord::kAatMotorSpeed:
            return BytesOf(aatMotorSpeed);
        case ReplyRecord::kAatCompassOffset:
            return BytesOf(aatCompassOffset);
        case ReplyRecord::kAatStatus:
            return BytesOf(aatStatus);
    }
    return {};
}

}  // namespace zephran
