#include "update/firmware_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"

namespace zephran {

FirmwareImage::Load FirmwareImage::Read(const std::string& path) {
    const auto size = path.empty() ? std::nullopt : RegularFileSize(path);
    if (!size) return Load::NotReadable;
    if (*size == 0) return Load::Empty;
    if (*size > kMaxFirmwarePages * kFirmwarePageSize) return Load::TooLarge;
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) return Load::NotReadable;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad()) return Load::NotReadable;
    // The file may have changed between the look and the read.
    if (bytes.empty()) return Load::Empty;
    if (bytes.size() > kMaxFirmwarePages * kFirmwarePageSize) return Load::TooLarge;
    bytes_ = std::move(bytes);
    return Load::Ok;
}

FirmwarePage FirmwareImage::Page(std::uint32_t k) const {
    FirmwarePage page;
    page.fill(0xFF);
    const std::size_t begin = std::min<std::size_t>(std::size_t{k} * kFirmwarePageSize, Size());
    const std::size_t end = std::min(begin + kFirmwarePageSize, Size());
    std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(begin),
              bytes_.begin() + static_cast<std::ptrdiff_t>(end), page.begin());
    return page;
}

}  // namespace zephran
