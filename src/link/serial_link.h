#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/port_directory.h"
#include "link/transport.h"

namespace zephran {

// The one link the program holds open and the ports it can choose from. Opening a port opens a
// transport for it in place of the one before; the rest goes to that transport.
class SerialLink {
public:
    virtual ~SerialLink() = default;
    // The devices present now, numbered.
    virtual std::vector<PortEntry> Devices() = 0;
    virtual OpenFailure Probe(const std::string& path) = 0;
    // Whether the device is there now, without opening it.
    virtual bool Present(const std::string& path) = 0;
    // A port the user named, listed among the devices from now on; its number, or nothing when
    // this link cannot take one.
    virtual std::optional<unsigned> AddByHand(const std::string& /*path*/) { return std::nullopt; }

    // Opens port number at path with baud, no parity, 8 data bits, 1 stop bit.
    bool Open(unsigned number, const std::string& path, unsigned baud);
    OpenFailure LastFailure() const;
    void Close();
    // False when no transport is open or the block is longer than Transport::kWriteBufferSize.
    bool Write(const std::uint8_t* bytes, std::size_t count);
    // The events of the last transport opened, also those queued before it was closed.
    std::vector<PortEvent> TakeEvents();
    // The open transport's name; empty while none is open.
    std::string OpenName() const;

protected:
    // The transport for a port, not yet open.
    virtual std::unique_ptr<Transport> MakeTransport(unsigned number, const std::string& path) = 0;

private:
    std::unique_ptr<Transport> transport_;
    bool open_ = false;
};

// The real ports: the devices of the port directory, each a serial device.
class DeviceSerialLink : public SerialLink {
public:
    // owner: woken when a transport's events wait.
    DeviceSerialLink(PortDirectoryOptions options, SerialPortOwner& owner)
        : directory_(std::move(options)), owner_(owner) {}

    std::vector<PortEntry> Devices() override;
    // A network address is taken as it is: only connecting would tell, and nothing connects to
    // the network unasked.
    OpenFailure Probe(const std::string& path) override;
    bool Present(const std::string& path) override;
    std::optional<unsigned> AddByHand(const std::string& path) override {
        return directory_.AddByHand(path);
    }

protected:
    std::unique_ptr<Transport> MakeTransport(unsigned number, const std::string& path) override;

private:
    PortDirectory directory_;
    SerialPortOwner& owner_;
};

}  // namespace zephran
