#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "sim/board.h"
#include "sim/messages.h"

namespace zephran::sim {
struct NavigationState;
}

namespace zephran::sim::gpsins {

inline constexpr std::size_t kMiscSize = 7;
// The board's own leading byte of its misc record.
inline constexpr std::uint8_t kMiscTag = 0x31;
inline constexpr std::size_t kQrCount = 12;
inline constexpr std::size_t kQrSize = 1 + 8 * kQrCount;
// The board's own leading byte of its QR record.
inline constexpr std::uint8_t kQrTag = 0x22;

// The navigation filter's noise parameters: four process noises, then eight measurement noises.
using QrParameters = std::array<double, kQrCount>;

const QrParameters& FactoryQr();

// The 97-byte QR record the board sends, and the parameters a written record carries.
Bytes EncodeQr(const QrParameters& parameters);
QrParameters DecodeQr(std::span<const std::uint8_t> record);

// The three telemetry records of one navigation state at a board time in seconds; the GPS
// solution carries the GPS time of week in milliseconds, which the board's receiver takes from
// the satellites: the true time.
Bytes EncodeSensorsRaw(const NavigationState& state);
Bytes EncodeGpsRaw(const NavigationState& state, double seconds, std::int32_t weekMs);
std::int32_t GpsWeekMs(std::chrono::system_clock::time_point now);
Bytes EncodeNavOutput(const NavigationState& state);

}  // namespace zephran::sim::gpsins

namespace zephran::sim {

// Makes the board the GPS/INS board: it streams its raw sensors and navigation output at 50 Hz
// and its GPS solution at 5 Hz from one aircraft flying around home, keeps its QR parameters
// and misc settings, and runs the AHRS board's sensor calibrations.
void InstallGpsIns(Board& board);

}  // namespace zephran::sim
