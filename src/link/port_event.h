// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zephran {

// The character whose arrival a serial port reports as an EventChar event.
inline constexpr std::uint8_t kPortEventChar = 0x71;

// Why a device could not be opened; None when it could.
enum class OpenFailure { None, NoSuchDevice, PermissionDenied, Busy, Other };

OpenFailure OpenFailureFromErrno(int error);

// What the monitor thread hands to the user-interface thread, in the order it happened.
struct PortEvent {
    enum class Kind {
        Received,   // bytes: a batch of received bytes
        EventChar,  // the event character came in the batch before this one
        Error,      // step failed with text (the system's text for errno)
        Lost,       // the link ended (why in step and text, where known); its thread has ended
        Discarded,  // discarded: the oldest received bytes dropped because the queue was full
    };

    Kind kind = Kind::Received;
    unsigned portNumber = 0;
    std::vector<std::uint8_t> bytes;
    std::string step;
    std::string text;
    std::size_t discarded = 0;
};

// The window that drains a port's events.
class SerialPortOwner {
public:
    virtual ~SerialPortOwner() = default;
    // Called when events are queued on an empty queue, on the monitor thread (or on the caller's
    // thread from OpenPort). It must only schedule a CSerialPort::TakeEvents on the UI thread.
    virtual void WakeUp() = 0;
};

}  // namespace zephran
