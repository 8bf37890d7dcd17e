#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zephran {

// One numbered port: COM<number> stands for devicePath.
struct PortEntry {
    unsigned number = 0;
    std::string devicePath;
    std::string adapterName;  // manufacturer and product of a USB adapter, else empty

    // "COM3 /dev/ttyUSB0 (FTDI FT232R USB UART)"
    std::string Label() const;
};

struct PortDirectoryOptions {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";
    // Paths given on the command line; when not empty they replace the devices found.
    std::vector<std::string> explicitPaths;
    // Colon-separated glob patterns whose matches follow the devices found.
    std::string extraPatterns;
};

// The value of ZEPHRAN_PORTS, or empty.
std::string PortPatternsFromEnvironment();

// Numbers the serial devices: USB adapters (ttyUSB), then ACM modems (ttyACM), each in the
// order of their numbers, then on-board UARTs (ttyS) with hardware behind them; then the
// matches of the extra patterns. Each device path is listed once, at most kMaxPorts of them.
// On Windows the ports are the system's COM ports under their own numbers, from its serial-port
// map, with the adapter's friendly name; the extra patterns are not used there.
class PortDirectory {
public:
    static constexpr std::size_t kMaxPorts = 128;

    explicit PortDirectory(PortDirectoryOptions options) : options_(std::move(options)) {}

    // Rebuilds the list from what the system shows now, the ports added by hand last.
    void Refresh();
    // A port the user named (a network address or a device path), listed from now on; returns
    // its number, or nothing when the list is full.
    std::optional<unsigned> AddByHand(const std::string& path);
    const std::vector<PortEntry>& Entries() const { return entries_; }
    // The entry numbered number, or nullptr.
    const PortEntry* Find(unsigned number) const;

private:
    // The ports the system shows, or the explicit paths in their place.
    void AddSystemPorts();
    // The adapter behind a device path, where the system tells; else empty.
    std::string AdapterNameOf(const std::string& path) const;
    // The next number's entry.
    void Add(const std::string& path, std::string adapterName);
    // Skips a path or a number listed before.
    void Add(PortEntry entry);

    PortDirectoryOptions options_;
    std::vector<std::string> addedByHand_;
    std::vector<PortEntry> entries_;
};

}  // namespace zephran
