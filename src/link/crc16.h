#pragma once

#include <cstddef>
#include <cstdint>

namespace zephran {

// CRC-16/ARC: reflected polynomial 0xA001, initial value 0, no final XOR.
std::uint16_t CalcCrc16(const std::uint8_t* bytes, std::size_t count);

}  // namespace zephran
