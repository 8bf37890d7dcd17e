// SPDX-License-Identifier: GPL-3.0-or-later
#include <glob.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <tuple>

#include "link/port_directory.h"

namespace zephran {
namespace fs = std::filesystem;
namespace {

// Device name prefixes in the order their ports are numbered.
constexpr std::array<std::string_view, 3> kFamilies = {"ttyUSB", "ttyACM", "ttyS"};
constexpr std::size_t kOnBoardFamily = 2;

std::string ReadFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// The number that follows prefix when the rest of name is all digits.
std::optional<unsigned long> NumberAfter(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size()) return std::nullopt;
    const char* end = name.data() + name.size();
    unsigned long number = 0;
    const auto [rest, error] = std::from_chars(name.data() + prefix.size(), end, number);
    if (error != std::errc() || rest != end) return std::nullopt;
    return number;
}

// 8250-style drivers register placeholder ports of type 0 (unknown) whether or not a UART
// answers; other drivers have no type attribute, and their ports count when bound to a driver
// other than the placeholder platform driver serial8250.
bool HasHardware(const fs::path& ttyDir) {
    std::error_code error;
    if (!fs::exists(ttyDir / "device", error)) return false;
    std::ifstream typeFile(ttyDir / "type");
    if (typeFile) {
        int type = 0;
        return (typeFile >> type) && type != 0;
    }
    const fs::path driver = fs::read_symlink(ttyDir / "device" / "driver", error);
    return !error && driver.filename() != "serial8250";
}

// Manufacturer and product of the USB device the tty belongs to: the first directory from the
// tty's device upwards that carries idVendor (a USB device, not one of its interfaces).
std::string AdapterName(const fs::path& sysRoot, const std::string& devicePath) {
    std::error_code error;
    const fs::path device = fs::canonical(devicePath, error);
    const std::string name = (error ? fs::path(devicePath) : device).filename().string();
    const fs::path root = fs::canonical(sysRoot, error);
    if (error) return {};
    fs::path dir = fs::canonical(sysRoot / "class" / "tty" / name / "device", error);
    if (error) return {};
    for (; dir != root && dir.has_relative_path(); dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", error)) continue;
        const std::string manufacturer = ReadFirstLine(dir / "manufacturer");
        const std::string product = ReadFirstLine(dir / "product");
        return manufacturer.empty() || product.empty() ? manufacturer + product
                                                       : manufacturer + " " + product;
    }
    return {};
}

std::vector<std::string> FoundDevices(const PortDirectoryOptions& options) {
    std::vector<std::tuple<std::size_t, unsigned long, std::string>> found;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(fs::path(options.sysRoot) / "class" / "tty", error)) {
        const std::string name = entry.path().filename().string();
        for (std::size_t family = 0; family < kFamilies.size(); ++family) {
            const auto number = NumberAfter(name, kFamilies[family]);
            if (!number) continue;
            if ((family != kOnBoardFamily || HasHardware(entry.path())) &&
                fs::exists(fs::path(options.devRoot) / name, error)) {
                found.emplace_back(family, *number, name);
            }
            break;
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (const auto& [family, number, name] : found) {
        paths.push_back((fs::path(options.devRoot) / name).string());
    }
    return paths;
}

}  // namespace

void PortDirectory::AddSystemPorts() {
    for (const std::string& path :
         options_.explicitPaths.empty() ? FoundDevices(options_) : options_.explicitPaths) {
        Add(path, AdapterNameOf(path));
    }
    std::string_view patterns = options_.extraPatterns;
    while (!patterns.empty()) {
        const std::size_t colon = std::min(patterns.find(':'), patterns.size());
        const std::string pattern(patterns.substr(0, colon));
        patterns.remove_prefix(std::min(colon + 1, patterns.size()));
        glob_t matches{};
        if (!pattern.empty() && glob(pattern.c_str(), 0, nullptr, &matches) == 0) {
            for (std::size_t i = 0; i < matches.gl_pathc; ++i)
                Add(matches.gl_pathv[i], AdapterNameOf(matches.gl_pathv[i]));
        }
        globfree(&matches);
    }
}

std::string PortDirectory::AdapterNameOf(const std::string& path) const {
    return AdapterName(options_.sysRoot, path);
}

}  // namespace zephran
