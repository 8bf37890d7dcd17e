#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zephran {

inline constexpr std::size_t kFirmwarePageSize = 1024;
// Page numbers go out in one byte, so an image holds at most 256 pages.
inline constexpr std::size_t kMaxFirmwarePages = 256;

using FirmwarePage = std::array<std::uint8_t, kFirmwarePageSize>;

// A raw binary image, read whole before an update starts so that the file can change on disk
// without the board receiving a mix of two images.
class FirmwareImage {
public:
    enum class Load { Ok, NotReadable, Empty, TooLarge };

    // Reads a regular file of 1 byte to 256 pages; anything else leaves the image unchanged.
    Load Read(const std::string& path);

    std::size_t Size() const { return bytes_.size(); }
    std::uint32_t PageCount() const {
        return static_cast<std::uint32_t>((bytes_.size() + kFirmwarePageSize - 1) /
                                          kFirmwarePageSize);
    }
    // Page k; the bytes beyond the image read as erased flash (0xFF).
    FirmwarePage Page(std::uint32_t k) const;

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace zephran
