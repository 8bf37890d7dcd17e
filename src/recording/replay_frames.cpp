#include "recording/replay_frames.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "link/crc16.h"
#include "link/link_frame.h"
#include "link/messages.h"
#include "records/ahrs_units.h"
#include "records/gpsins_texts.h"

namespace zephran {
namespace {

using namespace live_record;

// Offsets in the sensor block (SensorsRaw from its byte 1), in the GPS block and in the
// navigation sample as the record holds it (from its byte 1).
constexpr std::size_t kRates = 0, kForces = 12, kField = 24;
constexpr std::size_t kGpsSatellites = 29;
constexpr std::size_t kPosition = 0, kAttitude = 36, kQuaternion = 48;
// How far a stored attitude may lie from the one its quaternion gives, in degrees.
constexpr double kAttitudeTolerance = 0.01;

float FloatAt(const LiveRecordBytes& record, std::size_t offset) {
    float value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

void PutFloat(std::uint8_t* at, double value) {
    const auto f = static_cast<float>(value);
    std::memcpy(at, &f, sizeof f);
}

// Copies count bytes of the record from offset to at.
void Take(std::uint8_t* at, const LiveRecordBytes& record, std::size_t offset, std::size_t count) {
    std::memcpy(at, record.data() + offset, count);
}

double AngleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

}  // namespace

std::vector<std::uint8_t> EncodeFrame(const Message& message,
                                      std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> frame{kSync1,
                                    kSync2,
                                    message.group,
                                    message.msgId,
                                    static_cast<std::uint8_t>(payload.size() & 0xFF),
                                    static_cast<std::uint8_t>(payload.size() >> 8)};
    frame.insert(frame.end(), payload.begin(), payload.end());
    const std::uint16_t crc = CalcCrc16(frame.data() + 2, frame.size() - 2);
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

bool IsNavigationRecord(const LiveRecordBytes& record) {
    std::array<float, 4> q;
    double norm = 0;
    for (std::size_t i = 0; i < q.size(); ++i) {
        q[i] = FloatAt(record, kNavigation + kQuaternion + 4 * i);
        norm += static_cast<double>(q[i]) * q[i];
    }
    if (!(std::fabs(norm - 1.0) < 0.01)) return false;
    const Angles angles = QuaternionToAngles(q);
    const std::array<float, 3> expected{angles.roll, angles.pitch, angles.yaw};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (!(AngleBetween(FloatAt(record, kNavigation + kAttitude + 4 * i), expected[i]) <
              kAttitudeTolerance))
            return false;
    }
    return true;
}

std::array<std::uint8_t, 49> AhrsLivePayload(const LiveRecordBytes& record) {
    std::array<std::uint8_t, 49> live{};
    live[0] = record[kSensorByte];
    Take(live.data() + 1, record, kNavigation + kAttitude, 12);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        PutFloat(live.data() + 13 + 4 * axis,
                 FloatAt(record, kSensors + kRates + 4 * axis) * kDegreesPerRadian);
        PutFloat(live.data() + 25 + 4 * axis,
                 FloatAt(record, kSensors + kForces + 4 * axis) / kStandardGravity);
        Take(live.data() + 37 + 4 * axis, record, kSensors + kField + 4 * axis, 4);
    }
    return live;
}

std::array<std::uint8_t, kSensorsRawSize> SensorsRawPayload(const LiveRecordBytes& record) {
    std::array<std::uint8_t, kSensorsRawSize> raw{};
    raw[0] = record[kSensorByte];
    Take(raw.data() + 1, record, kSensors, kSensorsRawSize - 1);
    return raw;
}

std::array<std::uint8_t, kGpsRawSize> GpsRawPayload(const LiveRecordBytes& record) {
    std::array<std::uint8_t, kGpsRawSize> gps{};
    Take(gps.data(), record, kGps, kGpsRawSize);
    return gps;
}

std::array<std::uint8_t, 78> NavOutputPayload(const LiveRecordBytes& record) {
    std::array<std::uint8_t, 78> nav{};
    // Lon, Lat, Hmsl and the three velocities lie in the same order in both.
    Take(nav.data() + 1, record, kNavigation + kPosition, 32);
    Take(nav.data() + 33, record, kNavigation + kQuaternion, 16);
    Take(nav.data() + 49, record, kSensors + kRates, 12);
    Take(nav.data() + 61, record, kSensors + kForces, 12);
    nav[73] = record[kGps + kGpsSatellites];
    return nav;
}

void RecordFrames::Emit(const LiveRecordBytes& record, const FrameSink& sink) {
    if (!IsNavigationRecord(record)) {
        lastGps_.reset();
        sink(EncodeFrame(msg::DL_ID_AHRS_DATE_COME, AhrsLivePayload(record)));
        return;
    }
    const auto gps = GpsRawPayload(record);
    // The new-data flag aside, the GPS block changes only with a new solution.
    const bool newSolution =
        !lastGps_ || gps[0] != 0 || !std::equal(gps.begin() + 1, gps.end(), lastGps_->begin() + 1);
    lastGps_ = gps;
    if (newSolution) sink(EncodeFrame(msg::DL_GPSINS_GPSRAW, gps));
    sink(EncodeFrame(msg::DL_GPSINS_SENSORRAW, SensorsRawPayload(record)));
    sink(EncodeFrame(msg::DL_GPSINS_NAVOUTPUT, NavOutputPayload(record)));
}

}  // namespace zephran
