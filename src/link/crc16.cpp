#include "link/crc16.h"

#include <array>

namespace zephran {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t reg = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit) {
            reg = (reg & 1u) ? static_cast<std::uint16_t>((reg >> 1) ^ 0xA001u)
                             : static_cast<std::uint16_t>(reg >> 1);
        }
        table[i] = reg;
    }
    return table;
}

constexpr auto kTable = MakeTable();
static_assert(kTable[1] == 0xC0C1 && kTable[2] == 0xC181);

}  // namespace

std::uint16_t CalcCrc16(const std::uint8_t* bytes, std::size_t count) {
    std::uint16_t reg = 0;
    for (std::size_t i = 0; i < count; ++i) {
        reg = static_cast<std::uint16_t>((reg >> 8) ^ kTable[(reg ^ bytes[i]) & 0xFFu]);
    }
    return reg;
}

}  // namespace zephran
