// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/serial_port.h"
#include "link/transport.h"

namespace zephran {

// A local serial device as a transport, its bytes moved by a CSerialPort's monitor thread.
class SerialTransport : public Transport {
public:
    // number: what the port's events carry as their port number.
    SerialTransport(unsigned number, std::string path, SerialPortOwner& owner)
        : number_(number), path_(std::move(path)), owner_(owner) {}

    bool Open(unsigned baud) override;
    void Close() override { port_.StopMonitorThread(); }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        return port_.QueueWrite(bytes, count);
    }
    std::vector<PortEvent> TakeEvents() override { return port_.TakeEvents(); }
    OpenFailure LastFailure() const override { return port_.OpenFailureReason(); }
    std::string Name() const override { return path_; }

private:
    unsigned number_;
    std::string path_;
    SerialPortOwner& owner_;
    CSerialPort port_;
};

}  // namespace zephran
