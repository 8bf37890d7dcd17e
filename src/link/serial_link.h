#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/port_directory.h"
#include "link/serial_device.h"
#include "link/transport.h"

namespace zephran {

// The main dialog's one serial port and the devices it can choose from.
class SerialLink {
public:
    virtual ~SerialLink() = default;
    // The devices present now, numbered.
    virtual std::vector<PortEntry> Devices() = 0;
    virtual OpenFailure Probe(const std::string& path) = 0;
    // Whether the device is there now, without opening it.
    virtual bool Present(const std::string& path) = 0;
    // Opens at baud, no parity, 8 data bits, 1 stop bit, and starts the monitor thread.
    virtual bool Open(unsigned number, const std::string& path, unsigned baud) = 0;
    virtual OpenFailure LastFailure() const = 0;
    virtual void Close() = 0;
    // The most bytes one write takes.
    static constexpr std::size_t kWriteBufferSize = 2048;
    // False when the port is closed or the block is longer than its buffer.
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual std::vector<PortEvent> TakeEvents() = 0;
};

// The real port: the platform's serial device over the port directory.
class DeviceSerialLink : public SerialLink {
public:
    DeviceSerialLink(PortDirectoryOptions options, SerialPortOwner& owner)
        : directory_(std::move(options)), owner_(owner) {}

    std::vector<PortEntry> Devices() override;
    OpenFailure Probe(const std::string& path) override { return ProbeSerialDevice(path); }
    bool Present(const std::string& path) override { return SerialDevicePresent(path); }
    bool Open(unsigned number, const std::string& path, unsigned baud) override;
    OpenFailure LastFailure() const override { return failure_; }
    void Close() override;
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        return port_ && port_->Write(bytes, count);
    }
    std::vector<PortEvent> TakeEvents() override;

private:
    PortDirectory directory_;
    SerialPortOwner& owner_;
    std::unique_ptr<Transport> port_;
    OpenFailure failure_ = OpenFailure::None;
};

}  // namespace zephran
