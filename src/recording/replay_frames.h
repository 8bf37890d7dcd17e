#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/message.h"
#include "recording/live_record.h"

namespace zephran {

using FrameSink = std::function<void(std::span<const std::uint8_t> frame)>;

// A whole frame of message with its payload and CRC.
std::vector<std::uint8_t> EncodeFrame(const Message& message,
                                      std::span<const std::uint8_t> payload);

// Whether a record was written at a GPS/INS navigation output: its navigation sample holds a
// unit quaternion and the attitude that quaternion gives. A record written at AHRS live data
// has only the attitude there.
bool IsNavigationRecord(const LiveRecordBytes& record);

// The AHRS live reply a record was made from: attitude from the navigation sample, rates, forces
// and field from the sensor block in the live reply's units, the sensor byte as its status.
std::array<std::uint8_t, 49> AhrsLivePayload(const LiveRecordBytes& record);

// The GPS/INS board's replies as far as a record keeps them.
std::array<std::uint8_t, kSensorsRawSize> SensorsRawPayload(const LiveRecordBytes& record);
std::array<std::uint8_t, kGpsRawSize> GpsRawPayload(const LiveRecordBytes& record);
// Position, velocities and quaternion from the navigation sample. The record keeps no filtered
// body rates and forces, so the raw ones of the sensor block stand in for them, and the GPS
// solution's satellite count for the filter's; the flags and the filter's health read 0.
std::array<std::uint8_t, 78> NavOutputPayload(const LiveRecordBytes& record);

// Turns records, in order, into the frames the board they came from sent: AHRS live data for an
// AHRS record; raw sensors and navigation output for a GPS/INS record, preceded by the GPS
// solution whenever that is new, so that it goes out about as often as the board sent it.
class RecordFrames {
public:
    // The next record sends its GPS solution whatever the last one held.
    void Restart() { lastGps_.reset(); }
    void Emit(const LiveRecordBytes& record, const FrameSink& sink);

private:
    std::optional<std::array<std::uint8_t, kGpsRawSize>> lastGps_;
};

}  // namespace zephran
