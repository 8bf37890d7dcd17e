// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "link/transport.h"

namespace zephran {

// The platform's serial devices: a tty on Linux, a COM port on Windows.

// The device at path as a transport whose events are numbered portNumber.
std::unique_ptr<Transport> MakeSerialDevice(SerialPortOwner& owner, unsigned portNumber,
                                            const std::string& path);
// Whether path could be opened now; opens and closes it without changing its settings.
OpenFailure ProbeSerialDevice(const std::string& path);
// Whether the device is there now, without opening it.
bool SerialDevicePresent(const std::string& path);

}  // namespace zephran
