// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "link/port_address.h"
#include "link/transport.h"

namespace zephran {

// Whether this build reaches serial bridges on the network; where it does not, ParsePortAddress
// refuses network addresses, so none is ever listed or opened.
bool NetworkTransportsAvailable();

// The transport of a network address (tcp://, socket:// or rfc2217://); nothing for a device
// path or where the build has no network transports. Events reach owner tagged with portNumber.
std::unique_ptr<Transport> MakeNetworkTransport(const PortAddress& address, SerialPortOwner& owner,
                                                unsigned portNumber);

}  // namespace zephran
