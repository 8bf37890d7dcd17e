#include "link/serial_link.h"

namespace zephran {

std::vector<PortEntry> DeviceSerialLink::Devices() {
    directory_.Refresh();
    return directory_.Entries();
}

bool DeviceSerialLink::Open(unsigned number, const std::string& path, unsigned baud) {
    Close();
    port_ = MakeSerialDevice(owner_, number, path);
    const bool opened = port_->Open(baud);
    failure_ = port_->LastFailure();
    return opened;
}

void DeviceSerialLink::Close() {
    if (port_) port_->Close();
}

std::vector<PortEvent> DeviceSerialLink::TakeEvents() {
    return port_ ? port_->TakeEvents() : std::vector<PortEvent>{};
}

}  // namespace zephran
