// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zephran {

// The device-control call (ioctl) as the port makes it; tests hand in their own.
using DeviceControl = int (*)(int fd, unsigned long request, void* argument);

int SystemDeviceControl(int fd, unsigned long request, void* argument);

// Asks the serial driver to pass received bytes on at once instead of holding them for up to
// 16 ms (ASYNC_LOW_LATENCY), which USB adapters otherwise do. Drivers without the setting (a
// pty, some adapters) refuse it; the port works as before then. True when the driver took it.
bool RequestLowLatency(int fd, DeviceControl control = SystemDeviceControl);

}  // namespace zephran
