#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "link/serial_link.h"

namespace zephran::testing {

// The serial devices a FakeLink starts with.
struct FakeDevices {
    void AddDevice(const std::string& path, bool board = false) {
        devices.push_back({static_cast<unsigned>(devices.size() + 1), path, ""});
        if (board) boards.insert(path);
    }

    std::vector<PortEntry> devices;
    std::set<std::string> boards;
    std::set<std::string> unplugged;
    std::map<std::string, OpenFailure> refused;
};

// Serial devices in memory. A device with a board answers the connect request the way a board
// does; everything written is kept for the test.
class FakeLink : public SerialLink, public FakeDevices {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit FakeLink(const FakeDevices& start = {}) : FakeDevices(start) {}

    std::vector<PortEntry> Devices() override { return devices; }
    OpenFailure Probe(const std::string& path) override {
        if (!Present(path)) return OpenFailure::NoSuchDevice;
        return refused.count(path) ? refused[path] : OpenFailure::None;
    }
    bool Present(const std::string& path) override { return !unplugged.count(path); }

    void Receive(const Bytes& bytes) {
        PortEvent event;
        event.kind = PortEvent::Kind::Received;
        event.portNumber = openNumber;
        event.bytes = bytes;
        events.push_back(event);
    }
    void Lose() {
        PortEvent event;
        event.kind = PortEvent::Kind::Lost;
        event.portNumber = openNumber;
        events.push_back(event);
    }

    static Bytes Frame(std::uint8_t group, std::uint8_t msgId, const Bytes& payload) {
        Bytes body{group, msgId, static_cast<std::uint8_t>(payload.size() & 0xFF),
                   static_cast<std::uint8_t>(payload.size() >> 8)};
        body.insert(body.end(), payload.begin(), payload.end());
        const std::uint16_t crc = CalcCrc16(body.data(), body.size());
        Bytes frame{0x54, 0x4D};
        frame.insert(frame.end(), body.begin(), body.end());
        frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        frame.push_back(static_cast<std::uint8_t>(crc >> 8));
        return frame;
    }

    OpenFailure failure = OpenFailure::None;
    std::string openPath;
    unsigned openNumber = 0;
    unsigned openBaud = 0;
    int opens = 0;
    std::vector<Bytes> written;
    std::vector<PortEvent> events;

protected:
    std::unique_ptr<Transport> MakeTransport(unsigned number, const std::string& path) override {
        return std::make_unique<Device>(*this, number, path);
    }

private:
    // One opening of a device; what it does shows in the link's fields.
    class Device : public Transport {
    public:
        Device(FakeLink& link, unsigned number, std::string path)
            : link_(link), number_(number), path_(std::move(path)) {}

        bool Open(unsigned baud) override {
            ++link_.opens;
            if (!link_.Present(path_) || link_.refused.count(path_)) {
                link_.failure =
                    link_.Present(path_) ? link_.refused[path_] : OpenFailure::NoSuchDevice;
                return false;
            }
            link_.openPath = path_;
            link_.openNumber = number_;
            link_.openBaud = baud;
            return true;
        }
        void Close() override { link_.openPath.clear(); }
        bool Write(const std::uint8_t* bytes, std::size_t count) override {
            if (link_.openPath.empty() || count > kWriteBufferSize) return false;
            link_.written.emplace_back(bytes, bytes + count);
            const bool connect = count == 8 && bytes[2] == 12 && bytes[3] == 1;
            if (connect && link_.boards.count(link_.openPath)) link_.Receive(Frame(12, 1, {}));
            return true;
        }
        std::vector<PortEvent> TakeEvents() override { return std::exchange(link_.events, {}); }
        OpenFailure LastFailure() const override { return link_.failure; }
        std::string Name() const override { return path_; }

    private:
        FakeLink& link_;
        unsigned number_;
        std::string path_;
    };
};

}  // namespace zephran::testing
