// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_transport.h"

namespace zephran {

bool SerialTransport::Open(unsigned baud) {
    if (!port_.OpenPort(&owner_, number_, path_, baud, 'N', 8, 1,
                        CSerialPort::kEvRxChar | CSerialPort::kEvRxFlag, kWriteBufferSize)) {
        return false;
    }
    return port_.StartMonitorThread();
}

}  // namespace zephran
