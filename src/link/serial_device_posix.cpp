// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include "link/serial_device.h"
#include "link/serial_port.h"

namespace zephran {
namespace {

// A tty through CSerialPort, 8N1, with both received-byte events.
class TtyTransport : public Transport {
public:
    TtyTransport(SerialPortOwner& owner, unsigned portNumber, std::string path)
        : owner_(owner), portNumber_(portNumber), path_(std::move(path)) {}

    bool Open(unsigned baud) override {
        if (!port_.OpenPort(&owner_, portNumber_, path_, baud, 'N', 8, 1,
                            CSerialPort::kEvRxChar | CSerialPort::kEvRxFlag, kWriteBufferSize)) {
            return false;
        }
        return port_.StartMonitorThread();
    }
    void Close() override { port_.StopMonitorThread(); }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        return port_.QueueWrite(bytes, count);
    }
    std::vector<PortEvent> TakeEvents() override { return port_.TakeEvents(); }
    OpenFailure LastFailure() const override { return port_.OpenFailureReason(); }
    std::string Name() const override { return path_; }

private:
    SerialPortOwner& owner_;
    unsigned portNumber_;
    std::string path_;
    CSerialPort port_;
};

}  // namespace

std::unique_ptr<Transport> MakeSerialDevice(SerialPortOwner& owner, unsigned portNumber,
                                            const std::string& path) {
    return std::make_unique<TtyTransport>(owner, portNumber, path);
}

OpenFailure ProbeSerialDevice(const std::string& path) {
    return CSerialPort::ProbeDevice(path);
}

bool SerialDevicePresent(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

}  // namespace zephran
