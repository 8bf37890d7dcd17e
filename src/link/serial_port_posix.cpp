#include "link/serial_port.h"

// The line is set through termios2 so that every rate, standard or not, takes one path
// (BOTHER). <asm/termbits.h> clashes with <termios.h>, so this file uses the kernel's
// definitions only.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

#include "link/serial_low_latency.h"

namespace zephran {
namespace {

constexpr short kGoneEvents = POLLHUP | POLLERR | POLLNVAL;

std::string ErrnoText(int error) {
    return std::system_category().message(error);
}

bool DeviceGone(int error) {
    return error == EIO || error == ENXIO;
}

// Opens a tty for reading and writing without making it the controlling terminal and without
// waiting for carrier. A device another process holds exclusively counts as busy, which the
// kernel does not enforce for privileged callers. Returns the fd, or -errno.
int OpenTty(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -errno;
    int held = 0;
    const int error = ioctl(fd, TIOCGEXCL, &held) != 0 ? errno : held ? EBUSY : 0;
    if (error == 0) return fd;
    close(fd);
    return -error;
}

}  // namespace

OpenFailure OpenFailureFromErrno(int error) {
    switch (error) {
        case 0:
            return OpenFailure::None;
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return OpenFailure::NoSuchDevice;
        case EACCES:
        case EPERM:
            return OpenFailure::PermissionDenied;
        case EBUSY:
            return OpenFailure::Busy;
        default:
            return OpenFailure::Other;
    }
}

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() {
    StopMonitorThread();
}

OpenFailure CSerialPort::ProbeDevice(const std::string& path) {
    const int fd = OpenTty(path);
    if (fd < 0) return OpenFailureFromErrno(-fd);
    close(fd);
    return OpenFailure::None;
}

bool CSerialPort::OpenPort(SerialPortOwner* owner, unsigned portNumber,
                           const std::string& devicePath, unsigned baud, char parity,
                           unsigned dataBits, unsigned stopBits, std::uint32_t eventMask,
                           std::size_t writeBufferSize) {
    StopMonitorThread();
    portNumber_ = portNumber;
    eventMask_ = eventMask;
    writeBufferSize_ = writeBufferSize;
    writeQueue_.clear();
    writing_.clear();
    written_ = 0;
    writeRequest_.Clear();

    int fd = OpenTty(devicePath);
    if (fd >= 0 && ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        close(fd);
        fd = -error;
    }
    if (fd < 0) {
        openFailure_ = OpenFailureFromErrno(-fd);
        openErrorText_ = ErrnoText(-fd);
        return false;
    }
    openFailure_ = OpenFailure::None;
    openErrorText_.clear();

    events_.Reset(owner, portNumber);
    ConfigureLine(fd, baud, parity, dataBits, stopBits);
    RequestLowLatency(fd);
    // Start clean in both directions: what the device held from before this open is stale.
    if (ioctl(fd, TCFLSH, TCIOFLUSH) != 0) Report("tcflush()", errno);
    fd_.store(fd);
    return true;
}

void CSerialPort::ConfigureLine(int fd, unsigned baud, char parity, unsigned dataBits,
                                unsigned stopBits) {
    static constexpr std::array<tcflag_t, 4> kSizes = {CS5, CS6, CS7, CS8};
    tcflag_t framing = 0;
    switch (parity) {
        case 'N':
            break;
        case 'E':
            framing = PARENB;
            break;
        case 'O':
            framing = PARENB | PARODD;
            break;
        case 'M':
            framing = PARENB | PARODD | CMSPAR;
            break;
        case 'S':
            framing = PARENB | CMSPAR;
            break;
        default:
            Report("line settings", EINVAL);
            return;
    }
    if (baud == 0 || dataBits < 5 || dataBits > 8 || (stopBits != 1 && stopBits != 2)) {
        Report("line settings", EINVAL);
        return;
    }
    framing |= kSizes[dataBits - 5] | (stopBits == 2 ? CSTOPB : 0);

    termios2 line{};
    if (ioctl(fd, TCGETS2, &line) != 0) {
        Report("ioctl(TCGETS2)", errno);
        return;
    }
    // Raw mode: no line editing, echo, signals, translation or software flow control; one byte
    // satisfies a read.
    line.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &=
        ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    line.c_cflag |= CREAD | CLOCAL | framing | BOTHER | (BOTHER << IBSHIFT);
    line.c_ispeed = baud;
    line.c_ospeed = baud;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &line) != 0) Report("ioctl(TCSETS2)", errno);
}

bool CSerialPort::StartMonitorThread() {
    if (!IsOpen() || !shutdown_.IsValid() || !writeRequest_.IsValid()) return false;
    if (thread_.joinable()) return true;
    alive_.store(true);
    thread_ = std::thread(&CSerialPort::MonitorLoop, this);
    return true;
}

bool CSerialPort::QueueWrite(const std::uint8_t* bytes, std::size_t length) {
    if (!IsOpen() || length > writeBufferSize_) return false;
    {
        const std::lock_guard lock(writeMutex_);
        writeQueue_.emplace_back(bytes, bytes + length);
    }
    writeRequest_.Signal();
    return true;
}

void CSerialPort::StopMonitorThread() {
    if (thread_.joinable()) {
        shutdown_.Signal();
        thread_.join();
        shutdown_.Clear();
    }
    CloseDevice();
}

void CSerialPort::SetMaxQueuedBytes(std::size_t bytes) {
    events_.SetMaxQueuedBytes(bytes);
}

std::vector<PortEvent> CSerialPort::TakeEvents() {
    return events_.Take();
}

void CSerialPort::MonitorLoop() {
    const int fd = fd_.load();
    const short readEvents = (eventMask_ & (kEvRxChar | kEvRxFlag)) != 0 ? POLLIN : 0;
    bool lost = false;
    while (!lost) {
        const bool writePending = written_ < writing_.size();
        // Shutdown first, then port activity, then write requests.
        std::array<pollfd, 3> fds = {{
            {shutdown_.Fd(), POLLIN, 0},
            {fd, static_cast<short>(readEvents | (writePending ? POLLOUT : 0)), 0},
            {writeRequest_.Fd(), POLLIN, 0},
        }};
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            Report("poll()", errno);
            lost = true;
            continue;
        }
        if (fds[0].revents != 0) break;
        const short port = fds[1].revents;
        if ((port & POLLIN) != 0) {
            lost = !ReadAvailable(fd);
        } else if ((port & kGoneEvents) != 0) {
            lost = true;
        }
        if (fds[2].revents != 0) writeRequest_.Clear();
        if (!lost && (fds[2].revents != 0 || (port & POLLOUT) != 0)) lost = !WriteQueued(fd);
    }
    CloseDevice();
    alive_.store(false);
    if (lost) events_.Push({.kind = PortEvent::Kind::Lost, .portNumber = portNumber_});
}

bool CSerialPort::ReadAvailable(int fd) {
    std::vector<std::uint8_t> bytes(4096);
    const ssize_t n = read(fd, bytes.data(), bytes.size());
    if (n == 0) return false;  // hang-up
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) return true;
        if (DeviceGone(errno)) return false;
        Report("read()", errno);
        return true;
    }
    bytes.resize(static_cast<std::size_t>(n));
    const bool eventChar = (eventMask_ & kEvRxFlag) != 0 &&
                           std::find(bytes.begin(), bytes.end(), kEventChar) != bytes.end();
    if ((eventMask_ & kEvRxChar) != 0) {
        events_.Push({.kind = PortEvent::Kind::Received,
                      .portNumber = portNumber_,
                      .bytes = std::move(bytes)});
    }
    if (eventChar) events_.Push({.kind = PortEvent::Kind::EventChar, .portNumber = portNumber_});
    return true;
}

bool CSerialPort::WriteQueued(int fd) {
    for (;;) {
        if (written_ == writing_.size()) {
            const std::lock_guard lock(writeMutex_);
            if (writeQueue_.empty()) return true;
            writing_ = std::move(writeQueue_.front());
            writeQueue_.pop_front();
            written_ = 0;
            continue;
        }
        const ssize_t n = write(fd, writing_.data() + written_, writing_.size() - written_);
        if (n > 0) {
            written_ += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            if (errno == EAGAIN) return true;  // the rest goes when poll reports POLLOUT
            if (DeviceGone(errno)) return false;
            Report("write()", errno);
            written_ = writing_.size();  // drop the block, go on with the next
        }
    }
}

void CSerialPort::CloseDevice() {
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    // The exclusive flag belongs to the tty, not to this fd; give it back for the next open.
    ioctl(fd, TIOCNXCL);
    close(fd);
}

void CSerialPort::Report(std::string step, int error) {
    events_.Push({.kind = PortEvent::Kind::Error,
                  .portNumber = portNumber_,
                  .step = std::move(step),
                  .text = ErrnoText(error)});
}

}  // namespace zephran
