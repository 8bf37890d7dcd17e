#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "records/gpsins_records.h"

namespace zephran {

// One record of a recording file: sync 'T' 'M', type 0x0A, four reserved bytes, the content
// mask and payload length, the six blocks with the sensor byte between blocks 4 and 5, then two
// 8-bit running sums over everything between the sync bytes and the sums.
inline constexpr std::size_t kLiveRecordSize = 242;
inline constexpr std::uint8_t kLiveRecordType = 0x0A;
inline constexpr std::uint16_t kLiveRecordMask = 0x003F;
inline constexpr std::uint16_t kLiveRecordPayload = 229;

// Where each part of a record starts; blocks 1 (36 bytes at 67) and 3 (10 bytes at 164) are
// reserved and zero.
namespace live_record {
inline constexpr std::size_t kType = 2;
inline constexpr std::size_t kMask = 7;
inline constexpr std::size_t kLength = 9;
inline constexpr std::size_t kSensors = 11;      // block 0: SensorsRaw bytes 1 to 40, 16 spare
inline constexpr std::size_t kGps = 103;         // block 2: GPSRaw, 54 bytes, 7 spare
inline constexpr std::size_t kReserved4 = 174;   // block 4: 1 byte
inline constexpr std::size_t kSensorByte = 175;  // SensorsRaw byte 0
inline constexpr std::size_t kNavigation = 176;  // block 5: navigation sample bytes 1 to 64
inline constexpr std::size_t kSumA = 240;
inline constexpr std::size_t kSumB = 241;
}  // namespace live_record

inline constexpr std::size_t kSensorsRawSize = 41;
inline constexpr std::size_t kGpsRawSize = 54;

using LiveRecordBytes = std::array<std::uint8_t, kLiveRecordSize>;

// The latest GPS/INS sensor and GPS records as the board sends them, and the navigation sample.
struct RecordSources {
    std::array<std::uint8_t, kSensorsRawSize> sensorsRaw{};
    std::array<std::uint8_t, kGpsRawSize> gpsRaw{};
    NavigationSample navigation{};
};

LiveRecordBytes BuildLiveRecord(const RecordSources& sources);

// The two running sums over bytes: A += b, B += A, modulo 256.
std::array<std::uint8_t, 2> RecordSums(std::span<const std::uint8_t> bytes);

// Whether a record's sync, type, mask, length and sums are right.
bool IsSoundRecord(std::span<const std::uint8_t, kLiveRecordSize> record);

}  // namespace zephran
