#include "sim/byte_order.h"

#include <bit>

namespace zephran::sim {
namespace {

void PutLittle(Bytes& out, std::size_t offset, std::uint64_t value, std::size_t width) {
    if (out.size() < offset + width) out.resize(offset + width);
    for (std::size_t i = 0; i < width; ++i)
        out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLittle(std::span<const std::uint8_t> in, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width && offset + i < in.size(); ++i)
        value |= static_cast<std::uint64_t>(in[offset + i]) << (8 * i);
    return value;
}

}  // namespace

void PutU8(Bytes& out, std::size_t offset, std::uint8_t value) {
    PutLittle(out, offset, value, 1);
}

void PutU16(Bytes& out, std::size_t offset, std::uint16_t value) {
    PutLittle(out, offset, value, 2);
}

void PutI16(Bytes& out, std::size_t offset, std::int16_t value) {
    PutLittle(out, offset, static_cast<std::uint16_t>(value), 2);
}

void PutI32(Bytes& out, std::size_t offset, std::int32_t value) {
    PutLittle(out, offset, static_cast<std::uint32_t>(value), 4);
}

void PutFloat(Bytes& out, std::size_t offset, float value) {
    PutLittle(out, offset, std::bit_cast<std::uint32_t>(value), 4);
}

void PutDouble(Bytes& out, std::size_t offset, double value) {
    PutLittle(out, offset, std::bit_cast<std::uint64_t>(value), 8);
}

std::uint8_t GetU8(std::span<const std::uint8_t> in, std::size_t offset) {
    return static_cast<std::uint8_t>(GetLittle(in, offset, 1));
}

std::uint16_t GetU16(std::span<const std::uint8_t> in, std::size_t offset) {
    return static_cast<std::uint16_t>(GetLittle(in, offset, 2));
}

std::int16_t GetI16(std::span<const std::uint8_t> in, std::size_t offset) {
    return static_cast<std::int16_t>(GetU16(in, offset));
}

std::int32_t GetI32(std::span<const std::uint8_t> in, std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLittle(in, offset, 4)));
}

float GetFloat(std::span<const std::uint8_t> in, std::size_t offset) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(GetLittle(in, offset, 4)));
}

double GetDouble(std::span<const std::uint8_t> in, std::size_t offset) {
    return std::bit_cast<double>(GetLittle(in, offset, 8));
}

}  // namespace zephran::sim
