#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/board.h"

namespace zephran::sim::gpsins {

inline constexpr std::uint8_t kGroup = 16;
inline constexpr std::uint8_t kQrRead = 4, kQrWrite = 5, kQrDefault = 6;
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

}  // namespace zephran::sim::gpsins

namespace zephran::sim {

// Makes the board the GPS/INS board: it keeps its QR parameters, answers their read and takes
// their write and default.
void InstallGpsIns(Board& board);

}  // namespace zephran::sim
