// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>

#include "link/serial_device.h"
#include "link/serial_device_win32.h"
#include "platform/wide_text.h"
#include "platform/windows_error.h"

namespace zephran {
namespace {

// The driver's buffers; a full reply burst and a full write block fit.
constexpr DWORD kInputBufferSize = 16 * 1024;
constexpr DWORD kOutputBufferSize = 4 * 1024;

HANDLE OpenComPort(const std::string& path) {
    return CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

// The errors that mean the device is no longer there.
bool DeviceGone(DWORD code) {
    return code == ERROR_NOT_READY || code == ERROR_BROKEN_PIPE || code == ERROR_BAD_COMMAND ||
           code == ERROR_DEVICE_REMOVED || code == ERROR_GEN_FAILURE ||
           code == ERROR_INVALID_HANDLE || code == ERROR_FILE_NOT_FOUND ||
           code == ERROR_ACCESS_DENIED;
}

// Runs an overlapped call to its end: true with count set when it succeeded.
bool Finish(HANDLE handle, OVERLAPPED& overlapped, BOOL started, DWORD& count) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    return GetOverlappedResult(handle, &overlapped, &count, TRUE) != 0;
}

// Whether the device takes the serial-port calls: a COM name can lead to a device that opens
// but is no working port (a UART without hardware behind it).
bool AnswersAsSerialPort(HANDLE handle) {
    DCB line{};
    line.DCBlength = sizeof line;
    DWORD errors = 0;
    COMSTAT status{};
    return GetCommState(handle, &line) && ClearCommError(handle, &errors, &status);
}

}  // namespace

OpenFailure OpenFailureFromWindowsError(unsigned long code) {
    switch (code) {
        case ERROR_SUCCESS:
            return OpenFailure::None;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_INVALID_NAME:
            return OpenFailure::NoSuchDevice;
        // A COM port is opened exclusively: another program holding it is refused this way.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return OpenFailure::Busy;
        default:
            return OpenFailure::Other;
    }
}

std::string OpenFailureText(unsigned long code) {
    if (code == ERROR_ACCESS_DENIED) return "the port is open in another program";
    return WindowsErrorText(code);
}

ComPortTransport::ComPortTransport(SerialPortOwner& owner, unsigned portNumber, std::string path,
                                   unsigned writeTimeoutMs)
    : owner_(owner),
      portNumber_(portNumber),
      path_(std::move(path)),
      writeTimeoutMs_(writeTimeoutMs),
      handle_(INVALID_HANDLE_VALUE),
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      writeEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      commEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      ioEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

ComPortTransport::~ComPortTransport() {
    Close();
    for (HANDLE event : {stopEvent_, writeEvent_, commEvent_, ioEvent_}) {
        if (event) CloseHandle(event);
    }
}

bool ComPortTransport::Open(unsigned baud) {
    Close();
    {
        const std::lock_guard lock(writeMutex_);
        writeQueue_.clear();
    }
    events_.Reset(&owner_, portNumber_);
    const HANDLE handle = OpenComPort(path_);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        failure_ = OpenFailureFromWindowsError(code);
        openErrorText_ = OpenFailureText(code);
        return false;
    }
    if (!AnswersAsSerialPort(handle)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        failure_ = OpenFailure::Other;
        openErrorText_ = WindowsErrorText(code);
        return false;
    }
    failure_ = OpenFailure::None;
    openErrorText_.clear();
    handle_ = handle;
    if (!SetupComm(handle, kInputBufferSize, kOutputBufferSize))
        Report("SetupComm()", GetLastError());
    ConfigureLine(baud);
    // Reads take what waits and return at once; a write that cannot finish in time fails.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutMs_;
    if (!SetCommTimeouts(handle, &timeouts)) Report("SetCommTimeouts()", GetLastError());
    // Start clean in both directions: what the device held from before this open is stale.
    if (!PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR))
        Report("PurgeComm()", GetLastError());
    if (!SetCommMask(handle, EV_RXCHAR)) Report("SetCommMask()", GetLastError());
    ResetEvent(stopEvent_);
    alive_.store(true);
    thread_ = std::thread(&ComPortTransport::MonitorLoop, this);
    return true;
}

void ComPortTransport::ConfigureLine(unsigned baud) {
    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(handle_, &line)) {
        Report("GetCommState()", GetLastError());
        return;
    }
    // 8N1 in binary mode, no flow control, DTR and RTS raised as a terminal would.
    line.BaudRate = baud;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fErrorChar = FALSE;
    line.fNull = FALSE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fAbortOnError = FALSE;
    if (!SetCommState(handle_, &line)) Report("SetCommState()", GetLastError());
}

void ComPortTransport::Close() {
    if (thread_.joinable()) {
        SetEvent(stopEvent_);
        thread_.join();
    }
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}

bool ComPortTransport::Write(const std::uint8_t* bytes, std::size_t count) {
    if (!alive_.load() || count > kWriteBufferSize) return false;
    {
        const std::lock_guard lock(writeMutex_);
        writeQueue_.emplace_back(bytes, bytes + count);
    }
    SetEvent(writeEvent_);
    return true;
}

void ComPortTransport::MonitorLoop() {
    OVERLAPPED wait{};
    wait.hEvent = commEvent_;
    DWORD mask = 0;
    bool waiting = false;
    bool lost = false;
    while (!lost) {
        if (!waiting) {
            ResetEvent(commEvent_);
            if (WaitCommEvent(handle_, &mask, &wait)) {
                SetEvent(commEvent_);
                waiting = true;
            } else if (GetLastError() == ERROR_IO_PENDING) {
                waiting = true;
            } else if (DeviceGone(GetLastError())) {
                lost = true;
                break;
            }
            // Another refusal: the check interval reads, and the wait is armed again after it.
        }
        const HANDLE wakes[] = {stopEvent_, commEvent_, writeEvent_};
        const DWORD woken = WaitForMultipleObjects(3, wakes, FALSE, kCheckIntervalMs);
        if (woken == WAIT_OBJECT_0) break;
        if (woken == WAIT_OBJECT_0 + 1) {
            DWORD unused = 0;
            // An aborted wait (which Wine reports often) is simply armed again.
            GetOverlappedResult(handle_, &wait, &unused, FALSE);
            waiting = false;
        }
        lost = !ReadAvailable() || !WriteQueued();
    }
    if (waiting) {
        // Ends the pending wait before its OVERLAPPED goes.
        SetCommMask(handle_, 0);
        CancelIoEx(handle_, &wait);
        DWORD unused = 0;
        GetOverlappedResult(handle_, &wait, &unused, TRUE);
    }
    alive_.store(false);
    if (lost) events_.Push({.kind = PortEvent::Kind::Lost, .portNumber = portNumber_});
}

bool ComPortTransport::ReadAvailable() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &errors, &status)) {
        // Nothing can be read from a port that does not say what waits: once told, it is lost.
        const DWORD code = GetLastError();
        if (!DeviceGone(code)) Report("ClearCommError()", code);
        return false;
    }
    if (status.cbInQue == 0) return true;
    std::vector<std::uint8_t> bytes(status.cbInQue);
    OVERLAPPED read{};
    read.hEvent = ioEvent_;
    ResetEvent(ioEvent_);
    DWORD count = 0;
    const BOOL started =
        ReadFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &read);
    if (!Finish(handle_, read, started, count)) {
        const DWORD code = GetLastError();
        if (DeviceGone(code)) return false;
        Report("ReadFile()", code);
        return true;
    }
    if (count == 0) return true;
    bytes.resize(count);
    const bool eventChar = std::find(bytes.begin(), bytes.end(), kPortEventChar) != bytes.end();
    events_.Push(
        {.kind = PortEvent::Kind::Received, .portNumber = portNumber_, .bytes = std::move(bytes)});
    if (eventChar) events_.Push({.kind = PortEvent::Kind::EventChar, .portNumber = portNumber_});
    return true;
}

bool ComPortTransport::WriteQueued() {
    // On a stalled line every block waits out the time-out: Close must not wait for them all.
    while (WaitForSingleObject(stopEvent_, 0) != WAIT_OBJECT_0) {
        std::vector<std::uint8_t> block;
        {
            const std::lock_guard lock(writeMutex_);
            if (writeQueue_.empty()) return true;
            block = std::move(writeQueue_.front());
            writeQueue_.pop_front();
        }
        OVERLAPPED write{};
        write.hEvent = ioEvent_;
        ResetEvent(ioEvent_);
        DWORD count = 0;
        const BOOL started =
            WriteFile(handle_, block.data(), static_cast<DWORD>(block.size()), nullptr, &write);
        if (!Finish(handle_, write, started, count)) {
            const DWORD code = GetLastError();
            if (DeviceGone(code)) return false;
            Report("WriteFile()", code);
        } else if (count < block.size()) {
            // The write time-out ended it early; the rest of the block is dropped.
            Report("WriteFile()", ERROR_TIMEOUT);
        }
    }
    return true;
}

void ComPortTransport::Report(std::string step, unsigned long code) {
    events_.Push({.kind = PortEvent::Kind::Error,
                  .portNumber = portNumber_,
                  .step = std::move(step),
                  .text = WindowsErrorText(code)});
}

std::unique_ptr<Transport> MakeSerialDevice(SerialPortOwner& owner, unsigned portNumber,
                                            const std::string& path) {
    return std::make_unique<ComPortTransport>(owner, portNumber, path);
}

OpenFailure ProbeSerialDevice(const std::string& path) {
    const HANDLE handle = OpenComPort(path);
    if (handle == INVALID_HANDLE_VALUE) return OpenFailureFromWindowsError(GetLastError());
    const bool answers = AnswersAsSerialPort(handle);
    CloseHandle(handle);
    return answers ? OpenFailure::None : OpenFailure::Other;
}

bool SerialDevicePresent(const std::string& path) {
    // A COM port has no file to look at: the system's device name for it tells.
    const std::string name = path.rfind("\\\\.\\", 0) == 0 ? path.substr(4) : path;
    wchar_t target[512];
    return QueryDosDeviceW(WideFromUtf8(name).c_str(), target, 512) != 0;
}

}  // namespace zephran
