// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows build has no network transports: its sockets would need a Winsock twin of the
// POSIX transport's thread, which waits on sockets and event descriptors together.
#include "link/network_transport_factory.h"

namespace zephran {

bool NetworkTransportsAvailable() {
    return false;
}

std::unique_ptr<Transport> MakeNetworkTransport(const PortAddress& /*address*/,
                                                SerialPortOwner& /*owner*/,
                                                unsigned /*portNumber*/) {
    return nullptr;
}

}  // namespace zephran
