// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "link/port_address.h"
#include "link/transport.h"

namespace zephran {

// The transport of a network address (tcp://, socket:// or rfc2217://); nothing for a device
// path. Events reach owner tagged with portNumber.
std::unique_ptr<Transport> MakeNetworkTransport(const PortAddress& address, SerialPortOwner& owner,
                                                unsigned portNumber);

}  // namespace zephran
