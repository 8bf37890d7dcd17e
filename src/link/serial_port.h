#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/event_fd.h"
#include "link/port_event.h"
#include "link/port_event_queue.h"

namespace zephran {

// One serial device with its monitor thread. OpenPort, StartMonitorThread, QueueWrite,
// StopMonitorThread and TakeEvents belong to the user-interface thread; the monitor thread does
// every read and write.
class CSerialPort {
public:
    static constexpr std::uint32_t kEvRxChar = 0x0001;  // deliver received bytes
    static constexpr std::uint32_t kEvRxFlag = 0x0002;  // notify the event character
    static constexpr std::uint8_t kEventChar = kPortEventChar;
    static constexpr std::size_t kMaxQueuedBytes = PortEventQueue::kSerialLineBytes;

    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Stops any running thread, then opens devicePath exclusively in raw mode with the given
    // line settings (parity N, E, O, M or S; 5 to 8 data bits; 1 or 2 stop bits; any baud rate).
    // Bytes the device held from before the open, and events not taken from an earlier open,
    // are discarded.
    // False when the device cannot be opened; OpenFailureReason tells why. A setting the device
    // refuses is queued as an Error event and the port stays open.
    bool OpenPort(SerialPortOwner* owner, unsigned portNumber, const std::string& devicePath,
                  unsigned baud, char parity, unsigned dataBits, unsigned stopBits,
                  std::uint32_t eventMask, std::size_t writeBufferSize);
    bool StartMonitorThread();
    // Queues one block to be written whole after the blocks before it. False when the port is
    // closed or the block is longer than the write buffer size given at open.
    bool QueueWrite(const std::uint8_t* bytes, std::size_t length);
    // Ends the monitor thread and closes the port.
    void StopMonitorThread();

    std::vector<PortEvent> TakeEvents();
    // Another bound for the received bytes waiting; for links faster than any serial line.
    void SetMaxQueuedBytes(std::size_t bytes);

    bool IsOpen() const { return fd_.load() >= 0; }
    bool MonitorAlive() const { return alive_.load(); }
    unsigned PortNumber() const { return portNumber_; }
    OpenFailure OpenFailureReason() const { return openFailure_; }
    const std::string& OpenErrorText() const { return openErrorText_; }

    // Whether path could be opened now; opens and closes it without changing its settings.
    static OpenFailure ProbeDevice(const std::string& path);

private:
    void ConfigureLine(int fd, unsigned baud, char parity, unsigned dataBits, unsigned stopBits);
    void MonitorLoop();
    // Reads what is waiting; false when the device has gone.
    bool ReadAvailable(int fd);
    // Writes queued blocks until the device stops taking bytes; false when the device has gone.
    bool WriteQueued(int fd);
    void CloseDevice();
    void Report(std::string step, int error);

    unsigned portNumber_ = 0;
    std::uint32_t eventMask_ = 0;
    std::size_t writeBufferSize_ = 0;
    OpenFailure openFailure_ = OpenFailure::None;
    std::string openErrorText_;

    std::atomic<int> fd_{-1};
    EventFd shutdown_;
    EventFd writeRequest_;
    std::thread thread_;
    std::atomic<bool> alive_{false};

    std::mutex writeMutex_;
    std::deque<std::vector<std::uint8_t>> writeQueue_;
    // The block being written by the monitor thread and how much of it has gone out.
    std::vector<std::uint8_t> writing_;
    std::size_t written_ = 0;

    PortEventQueue events_{kMaxQueuedBytes};
};

}  // namespace zephran
