// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/port_event.h"

namespace zephran {

// One open link to a board: a serial device, a network bridge or a played-back recording. Bytes
// move on a thread of the transport's own (a recording's on the caller's); what happened reaches
// the user-interface thread as PortEvents, in order: received bytes, errors, the link lost. The
// owner given at construction is woken when events wait on an empty queue.
class Transport {
public:
    // The most bytes one write takes.
    static constexpr std::size_t kWriteBufferSize = 2048;

    virtual ~Transport() = default;
    // Opens at baud with 8 data bits, no parity and 1 stop bit, and starts moving bytes. False
    // when the link cannot be opened; LastFailure says why.
    virtual bool Open(unsigned baud) = 0;
    virtual void Close() = 0;
    // Queues one block to be written whole after the blocks before it. False when the link is
    // closed or the block is longer than kWriteBufferSize.
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual std::vector<PortEvent> TakeEvents() = 0;
    virtual OpenFailure LastFailure() const = 0;
    // What the title, the status bar and the traffic log call the link: a device path, a
    // network address or a recording's path.
    virtual std::string Name() const = 0;
};

}  // namespace zephran
