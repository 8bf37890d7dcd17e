// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/network_transport_factory.h"

#include "link/network_transport.h"

namespace zephran {

bool NetworkTransportsAvailable() {
    return true;
}

std::unique_ptr<Transport> MakeNetworkTransport(const PortAddress& address, SerialPortOwner& owner,
                                                unsigned portNumber) {
    if (!address.IsNetwork()) return nullptr;
    return std::make_unique<NetworkTransport>(address, owner, portNumber);
}

}  // namespace zephran
