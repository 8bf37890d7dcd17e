// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/port_event_queue.h"
#include "link/transport.h"

namespace zephran {

// The failure of an open that ended with the Windows error code.
OpenFailure OpenFailureFromWindowsError(unsigned long code);
// The text of an open that failed with the code: the system's, or for access denied the port
// being open in another program.
std::string OpenFailureText(unsigned long code);

// A COM port through overlapped I/O. A monitor thread waits on received-character events
// (WaitCommEvent), asks the driver how many bytes wait (ClearCommError) and reads exactly those,
// which also works where a read left pending would miss bytes already buffered; it writes the
// queued blocks in order. A device that goes away ends the thread with a Lost event.
class ComPortTransport : public Transport {
public:
    // A write that takes longer than this fails with an Error event.
    static constexpr unsigned kWriteTimeoutMs = 5000;
    // The monitor thread looks at the device at least this often, received characters or not.
    static constexpr unsigned kCheckIntervalMs = 100;

    ComPortTransport(SerialPortOwner& owner, unsigned portNumber, std::string path,
                     unsigned writeTimeoutMs = kWriteTimeoutMs);
    ~ComPortTransport() override;
    ComPortTransport(const ComPortTransport&) = delete;
    ComPortTransport& operator=(const ComPortTransport&) = delete;

    bool Open(unsigned baud) override;
    void Close() override;
    bool Write(const std::uint8_t* bytes, std::size_t count) override;
    std::vector<PortEvent> TakeEvents() override { return events_.Take(); }
    OpenFailure LastFailure() const override { return failure_; }
    std::string Name() const override { return path_; }

    const std::string& OpenErrorText() const { return openErrorText_; }
    bool MonitorAlive() const { return alive_.load(); }

private:
    void ConfigureLine(unsigned baud);
    void MonitorLoop();
    // Reads what waits; false when the device has gone.
    bool ReadAvailable();
    // Writes the queued blocks until none is left or Close asks; false when the device has gone.
    bool WriteQueued();
    void Report(std::string step, unsigned long code);

    SerialPortOwner& owner_;
    unsigned portNumber_;
    std::string path_;
    unsigned writeTimeoutMs_;
    OpenFailure failure_ = OpenFailure::None;
    std::string openErrorText_;
    PortEventQueue events_{PortEventQueue::kSerialLineBytes};

    void* handle_;      // the port; INVALID_HANDLE_VALUE when closed
    void* stopEvent_;   // set: the monitor thread ends
    void* writeEvent_;  // set: blocks wait to be written
    void* commEvent_;   // the WaitCommEvent's completion
    void* ioEvent_;     // a read's or a write's completion
    std::thread thread_;
    std::atomic<bool> alive_{false};

    std::mutex writeMutex_;
    std::deque<std::vector<std::uint8_t>> writeQueue_;
};

}  // namespace zephran
