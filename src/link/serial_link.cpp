#include "link/serial_link.h"

#include "link/network_transport_factory.h"
#include "link/port_address.h"
#include "link/serial_device.h"

namespace zephran {

bool SerialLink::Open(unsigned number, const std::string& path, unsigned baud) {
    Close();
    transport_ = MakeTransport(number, path);
    open_ = transport_->Open(baud);
    // A half-made open gives the device back.
    if (!open_) transport_->Close();
    return open_;
}

OpenFailure SerialLink::LastFailure() const {
    return transport_ ? transport_->LastFailure() : OpenFailure::None;
}

void SerialLink::Close() {
    if (open_) transport_->Close();
    open_ = false;
}

bool SerialLink::Write(const std::uint8_t* bytes, std::size_t count) {
    return open_ && transport_->Write(bytes, count);
}

std::vector<PortEvent> SerialLink::TakeEvents() {
    return transport_ ? transport_->TakeEvents() : std::vector<PortEvent>{};
}

std::string SerialLink::OpenName() const {
    return open_ ? transport_->Name() : std::string();
}

std::vector<PortEntry> DeviceSerialLink::Devices() {
    directory_.Refresh();
    return directory_.Entries();
}

namespace {

std::optional<PortAddress> NetworkAddress(const std::string& path) {
    const ParsedPortAddress parsed = ParsePortAddress(path);
    if (!parsed.Ok() || !parsed.address.IsNetwork()) return std::nullopt;
    return parsed.address;
}

}  // namespace

OpenFailure DeviceSerialLink::Probe(const std::string& path) {
    return NetworkAddress(path) ? OpenFailure::None : ProbeSerialDevice(path);
}

bool DeviceSerialLink::Present(const std::string& path) {
    return NetworkAddress(path) || SerialDevicePresent(path);
}

std::unique_ptr<Transport> DeviceSerialLink::MakeTransport(unsigned number,
                                                           const std::string& path) {
    if (const auto address = NetworkAddress(path))
        return MakeNetworkTransport(*address, owner_, number);
    return MakeSerialDevice(owner_, number, path);
}

}  // namespace zephran
