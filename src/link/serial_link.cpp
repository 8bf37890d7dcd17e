#include "link/serial_link.h"

#include <unistd.h>

namespace zephran {

std::vector<PortEntry> DeviceSerialLink::Devices() {
    directory_.Refresh();
    return directory_.Entries();
}

bool DeviceSerialLink::Present(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

bool DeviceSerialLink::Open(unsigned number, const std::string& path, unsigned baud) {
    if (!port_.OpenPort(&owner_, number, path, baud, 'N', 8, 1,
                        CSerialPort::kEvRxChar | CSerialPort::kEvRxFlag, kWriteBufferSize)) {
        return false;
    }
    return port_.StartMonitorThread();
}

}  // namespace zephran
