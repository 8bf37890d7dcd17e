// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// After windows.h, which it needs.
#include <setupapi.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

#include "link/port_directory.h"
#include "platform/wide_text.h"

namespace zephran {
namespace {

// The device setup class of serial and parallel ports (GUID_DEVCLASS_PORTS).
constexpr GUID kPortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// n of "COMn".
std::optional<unsigned> ComNumber(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) return std::nullopt;
    unsigned number = 0;
    const char* end = name.data() + name.size();
    const auto [rest, error] = std::from_chars(name.data() + 3, end, number);
    if (error != std::errc() || rest != end || number == 0) return std::nullopt;
    return number;
}

// The system's serial-port map: device object to port name, one value each.
std::vector<std::string> MappedPortNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD valueNameLength = 256;
        wchar_t data[256];
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        data[dataSize / sizeof(wchar_t)] = L'\0';
        names.push_back(Utf8FromWide(data));
    }
    RegCloseKey(key);
    return names;
}

// The friendly names of the present ports by port name ("USB Serial Port (COM3)").
std::map<std::string, std::string> FriendlyNames() {
    std::map<std::string, std::string> names;
    const HDEVINFO devices = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const HKEY key =
            SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        wchar_t portName[64];
        DWORD size = sizeof portName - sizeof(wchar_t);
        DWORD type = 0;
        const bool named =
            RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(portName),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ;
        RegCloseKey(key);
        if (!named) continue;
        portName[size / sizeof(wchar_t)] = L'\0';
        wchar_t friendly[256];
        if (SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                              reinterpret_cast<BYTE*>(friendly),
                                              sizeof friendly - sizeof(wchar_t), nullptr)) {
            friendly[255] = L'\0';
            names[Utf8FromWide(portName)] = Utf8FromWide(friendly);
        }
    }
    SetupDiDestroyDeviceInfoList(devices);
    return names;
}

}  // namespace

void PortDirectory::AddSystemPorts() {
    if (!options_.explicitPaths.empty()) {
        for (const std::string& path : options_.explicitPaths)
            Add(path, {});
        return;
    }
    std::vector<std::pair<unsigned, std::string>> ports;
    for (const std::string& name : MappedPortNames()) {
        if (const auto number = ComNumber(name)) ports.emplace_back(*number, name);
    }
    std::sort(ports.begin(), ports.end());
    const std::map<std::string, std::string> friendly = FriendlyNames();
    for (const auto& [number, name] : ports) {
        const auto adapter = friendly.find(name);
        Add(PortEntry{number, "\\\\.\\" + name,
                      adapter != friendly.end() ? adapter->second : std::string()});
    }
}

// Friendly names belong to the ports of the serial-port map.
std::string PortDirectory::AdapterNameOf(const std::string& /*path*/) const {
    return {};
}

}  // namespace zephran
