#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zephran::sim {

using Bytes = std::vector<std::uint8_t>;

// Little-endian fields of a payload. Writers grow the buffer to fit the field; readers take
// bytes past the end as zero, so a short request reads like a zero-padded one.
void PutU8(Bytes& out, std::size_t offset, std::uint8_t value);
void PutU16(Bytes& out, std::size_t offset, std::uint16_t value);
void PutI16(Bytes& out, std::size_t offset, std::int16_t value);
void PutI32(Bytes& out, std::size_t offset, std::int32_t value);
void PutFloat(Bytes& out, std::size_t offset, float value);
void PutDouble(Bytes& out, std::size_t offset, double value);

std::uint8_t GetU8(std::span<const std::uint8_t> in, std::size_t offset);
std::uint16_t GetU16(std::span<const std::uint8_t> in, std::size_t offset);
std::int16_t GetI16(std::span<const std::uint8_t> in, std::size_t offset);
std::int32_t GetI32(std::span<const std::uint8_t> in, std::size_t offset);
float GetFloat(std::span<const std::uint8_t> in, std::size_t offset);
double GetDouble(std::span<const std::uint8_t> in, std::size_t offset);

}  // namespace zephran::sim
