// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include "link/serial_device.h"
#include "link/serial_port.h"
#include "link/serial_transport.h"

namespace zephran {

std::unique_ptr<Transport> MakeSerialDevice(SerialPortOwner& owner, unsigned portNumber,
                                            const std::string& path) {
    return std::make_unique<SerialTransport>(portNumber, path, owner);
}

OpenFailure ProbeSerialDevice(const std::string& path) {
    return CSerialPort::ProbeDevice(path);
}

bool SerialDevicePresent(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

}  // namespace zephran
