// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_low_latency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace zephran {

int SystemDeviceControl(int fd, unsigned long request, void* argument) {
    return ioctl(fd, request, argument);
}

bool RequestLowLatency(int fd, DeviceControl control) {
    serial_struct serial{};
    if (control(fd, TIOCGSERIAL, &serial) != 0) return false;
    if (serial.flags & ASYNC_LOW_LATENCY) return true;
    serial.flags |= ASYNC_LOW_LATENCY;
    return control(fd, TIOCSSERIAL, &serial) == 0;
}

}  // namespace zephran
