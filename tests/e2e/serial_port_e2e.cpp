// CSerialPort against a pty: the port opens the slave, the test plays the board on the master.
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "link/serial_port.h"
#include "pty_pair.h"

namespace zephran {
namespace {

using namespace std::chrono_literals;
using Kind = PortEvent::Kind;
using test::PtyPair;

constexpr std::uint32_t kBothEvents = CSerialPort::kEvRxChar | CSerialPort::kEvRxFlag;

// Collects a port's events on the test thread, woken by the monitor thread.
class Watcher : public SerialPortOwner {
public:
    void WakeUp() override {
        {
            const std::lock_guard lock(mutex_);
            woken_ = true;
        }
        wake_.notify_all();
    }

    // Drains the port until done() holds; false if it still does not after timeout.
    bool WaitUntil(CSerialPort& port, const std::function<bool()>& done,
                   std::chrono::milliseconds timeout = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::unique_lock lock(mutex_);
        for (;;) {
            woken_ = false;
            lock.unlock();
            Drain(port);
            lock.lock();
            if (done()) return true;
            if (!wake_.wait_until(lock, deadline, [this] { return woken_; })) return done();
        }
    }

    void Drain(CSerialPort& port) {
        for (PortEvent& event : port.TakeEvents()) {
            if (event.kind == Kind::Received) {
                received.insert(received.end(), event.bytes.begin(), event.bytes.end());
            }
            events.push_back(std::move(event));
        }
    }

    std::size_t Count(Kind kind) const {
        return std::count_if(events.begin(), events.end(),
                             [kind](const PortEvent& e) { return e.kind == kind; });
    }

    std::vector<std::uint8_t> received;
    std::vector<PortEvent> events;

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
};

std::vector<std::uint8_t> RandomBytes(std::mt19937& random, std::size_t count) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(byte(random));
    return bytes;
}

termios2 LineOf(int fd) {
    termios2 line{};
    EXPECT_EQ(ioctl(fd, TCGETS2, &line), 0);
    return line;
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pty.IsValid()); }

    bool Open(unsigned baud = 115200, std::uint32_t mask = kBothEvents) {
        return port.OpenPort(&watcher, 3, pty.SlavePath(), baud, 'N', 8, 1, mask, 2048) &&
               port.StartMonitorThread();
    }

    bool ReceiveFromPeer(const std::vector<std::uint8_t>& bytes) {
        return pty.WriteAll(bytes.data(), bytes.size(), 10s) &&
               watcher.WaitUntil(port, [&] { return watcher.received.size() >= bytes.size(); });
    }

    PtyPair pty;
    Watcher watcher;
    CSerialPort port;
};

using SerialPortTransfer = SerialPortTest;

// A pty runs far faster than any serial line: tests of bulk transfer lift the bound that keeps
// a slow reader's delay short.
constexpr std::size_t kBulkQueue = 4 << 20;

TEST_F(SerialPortTransfer, MegabyteInRandomChunksArrivesInOrder) {
    port.SetMaxQueuedBytes(kBulkQueue);
    ASSERT_TRUE(Open());
    std::mt19937 random(1);
    const std::vector<std::uint8_t> sent = RandomBytes(random, 1 << 20);
    std::thread peer([&] {
        std::uniform_int_distribution<std::size_t> chunk(1, 3000);
        for (std::size_t at = 0; at < sent.size();) {
            const std::size_t n = std::min(chunk(random), sent.size() - at);
            if (!pty.WriteAll(sent.data() + at, n, 20s)) return;
            at += n;
        }
    });
    const bool complete = watcher.WaitUntil(
        port, [&] { return watcher.received.size() >= sent.size(); }, 60s);
    peer.join();
    ASSERT_TRUE(complete) << watcher.received.size() << " bytes arrived";
    EXPECT_TRUE(watcher.received == sent);
    EXPECT_EQ(watcher.Count(Kind::Error), 0u);
    EXPECT_EQ(watcher.Count(Kind::Discarded), 0u);
}

TEST_F(SerialPortTransfer, ReaderThatFallsBehindGetsTheNewestBytesAndTheCountOfTheRest) {
    ASSERT_TRUE(Open());
    std::mt19937 random(5);
    const std::vector<std::uint8_t> sent = RandomBytes(random, 200'000);
    // Nobody takes the events while the whole flood arrives.
    ASSERT_TRUE(pty.WriteAll(sent.data(), sent.size(), 20s));
    const auto settled = std::chrono::steady_clock::now() + 10s;
    while (pty.Pending() > 0 && std::chrono::steady_clock::now() < settled)
        std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(50ms);
    watcher.Drain(port);
    std::size_t discarded = 0;
    for (const PortEvent& event : watcher.events) {
        if (event.kind == Kind::Discarded) discarded += event.discarded;
    }
    EXPECT_LE(watcher.received.size(), CSerialPort::kMaxQueuedBytes);
    ASSERT_EQ(discarded + watcher.received.size(), sent.size());
    EXPECT_TRUE(std::equal(watcher.received.begin(), watcher.received.end(),
                           sent.end() - static_cast<long>(watcher.received.size())));
    ASSERT_FALSE(watcher.events.empty());
    EXPECT_EQ(watcher.events.front().kind, Kind::Discarded);
}

TEST_F(SerialPortTransfer, OpenDiscardsWhatTheDeviceHeldFromBefore) {
    // Raw before the port opens it, so that the bytes wait as they are.
    ASSERT_TRUE(pty.MakeSlaveRaw());
    const std::vector<std::uint8_t> stale{0x54, 0x4D, 1, 2, 3};
    ASSERT_TRUE(pty.WriteAll(stale.data(), stale.size(), 1s));
    const auto held = std::chrono::steady_clock::now() + 5s;
    while (pty.Pending() < stale.size() && std::chrono::steady_clock::now() < held)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(pty.Pending(), stale.size());
    ASSERT_TRUE(Open());
    const std::vector<std::uint8_t> fresh{9, 8, 7};
    ASSERT_TRUE(ReceiveFromPeer(fresh));
    std::this_thread::sleep_for(50ms);
    watcher.Drain(port);
    EXPECT_EQ(watcher.received, fresh);
}

TEST_F(SerialPortTransfer, QueuedBlocksGoOutWholeAndInOrderWhileReceiving) {
    port.SetMaxQueuedBytes(kBulkQueue);
    ASSERT_TRUE(Open());
    std::mt19937 random(2);
    std::uniform_int_distribution<std::size_t> size(0, 2048);
    std::vector<std::vector<std::uint8_t>> blocks;
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 400; ++i) {
        blocks.push_back(RandomBytes(random, size(random)));
        expected.insert(expected.end(), blocks.back().begin(), blocks.back().end());
    }
    const std::vector<std::uint8_t> inbound = RandomBytes(random, 256 * 1024);

    std::vector<std::uint8_t> peerGot;
    bool peerRead = false;
    std::thread reader([&] { peerRead = pty.ReadExactly(peerGot, expected.size(), 30s); });
    std::thread writer([&] { pty.WriteAll(inbound.data(), inbound.size(), 30s); });
    const std::vector<std::uint8_t> tooLong(2049, 0xEE);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_TRUE(port.QueueWrite(blocks[i].data(), blocks[i].size()));
        if (i == blocks.size() / 2) EXPECT_FALSE(port.QueueWrite(tooLong.data(), tooLong.size()));
    }
    const bool allIn = watcher.WaitUntil(
        port, [&] { return watcher.received.size() >= inbound.size(); }, 30s);
    reader.join();
    writer.join();

    ASSERT_TRUE(peerRead);
    EXPECT_TRUE(peerGot == expected);
    ASSERT_TRUE(allIn);
    EXPECT_TRUE(watcher.received == inbound);
}

TEST_F(SerialPortTransfer, ReceivingAndStoppingGoOnWhileWritesAreStalled) {
    ASSERT_TRUE(Open());
    // Nobody reads the master, so the pty fills and the writes stall.
    const std::vector<std::uint8_t> block(2048, 0x55);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(port.QueueWrite(block.data(), block.size()));
    ASSERT_TRUE(ReceiveFromPeer({'h', 'e', 'l', 'l', 'o'}));
    port.StopMonitorThread();
    EXPECT_FALSE(port.MonitorAlive());
    EXPECT_FALSE(port.IsOpen());
}

using SerialPortOpen = SerialPortTest;

TEST_F(SerialPortOpen, MissingDeviceFailsWithItsReasonAndNoThread) {
    EXPECT_FALSE(port.OpenPort(&watcher, 1, "/dev/zephran-no-such-tty", 115200, 'N', 8, 1,
                               kBothEvents, 2048));
    EXPECT_EQ(port.OpenFailureReason(), OpenFailure::NoSuchDevice);
    EXPECT_FALSE(port.OpenErrorText().empty());
    EXPECT_FALSE(port.StartMonitorThread());
    EXPECT_FALSE(port.MonitorAlive());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(CSerialPort::ProbeDevice("/dev/zephran-no-such-tty"), OpenFailure::NoSuchDevice);
}

TEST_F(SerialPortOpen, ReopeningSetsEveryPcBaudRate) {
    for (const unsigned baud : {1200u, 2400u, 4800u, 9600u, 14400u, 19200u, 28800u, 38400u, 56000u,
                                57600u, 115200u, 128000u, 256000u}) {
        ASSERT_TRUE(Open(baud)) << baud << ": " << port.OpenErrorText();
        const termios2 line = LineOf(pty.Slave());
        EXPECT_EQ(line.c_ospeed, baud);
        EXPECT_EQ(line.c_ispeed, baud);
    }
    EXPECT_TRUE(port.MonitorAlive());
    EXPECT_TRUE(ReceiveFromPeer({1, 2, 3}));
    EXPECT_EQ(watcher.Count(Kind::Error), 0u);
}

// A pty keeps 8 data bits and no parity enable whatever it is asked, but it keeps the parity
// kind, the stop bits and the raw-mode flags. A setting out of range is reported, and the port
// stays open as it is.
TEST_F(SerialPortOpen, FramingAndRawModeAreApplied) {
    struct Case {
        char parity;
        unsigned stopBits;
        tcflag_t flags;
    };
    for (const Case c : {Case{'N', 1, 0}, Case{'E', 2, CSTOPB}, Case{'O', 1, PARODD},
                         Case{'M', 2, PARODD | CMSPAR | CSTOPB}, Case{'S', 1, CMSPAR}}) {
        ASSERT_TRUE(port.OpenPort(&watcher, 1, pty.SlavePath(), 9600, c.parity, 7, c.stopBits,
                                  kBothEvents, 64));
        const termios2 line = LineOf(pty.Slave());
        EXPECT_EQ(line.c_cflag & (PARODD | CMSPAR | CSTOPB), c.flags) << c.parity;
        EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(line.c_oflag & OPOST, 0u);
        EXPECT_EQ(line.c_iflag & (ICRNL | IXON), 0u);
    }
    watcher.Drain(port);
    EXPECT_TRUE(watcher.events.empty());

    ASSERT_TRUE(port.OpenPort(&watcher, 1, pty.SlavePath(), 115200, 'X', 8, 1, kBothEvents, 64));
    EXPECT_TRUE(port.IsOpen());
    watcher.Drain(port);
    ASSERT_EQ(watcher.events.size(), 1u);
    EXPECT_EQ(watcher.events[0].kind, Kind::Error);
    EXPECT_EQ(watcher.events[0].step, "line settings");
    EXPECT_FALSE(watcher.events[0].text.empty());
}

TEST_F(SerialPortOpen, HeldDeviceIsBusyAndProbingLeavesItUnchanged) {
    ASSERT_TRUE(Open(14400));
    CSerialPort second;
    EXPECT_FALSE(second.OpenPort(&watcher, 4, pty.SlavePath(), 9600, 'N', 8, 1, kBothEvents, 2048));
    EXPECT_EQ(second.OpenFailureReason(), OpenFailure::Busy);
    EXPECT_EQ(CSerialPort::ProbeDevice(pty.SlavePath()), OpenFailure::Busy);

    port.StopMonitorThread();
    EXPECT_EQ(CSerialPort::ProbeDevice(pty.SlavePath()), OpenFailure::None);
    int exclusive = 1;
    ASSERT_EQ(ioctl(pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    EXPECT_EQ(LineOf(pty.Slave()).c_ospeed, 14400u);
    EXPECT_TRUE(second.OpenPort(&watcher, 4, pty.SlavePath(), 9600, 'N', 8, 1, kBothEvents, 2048));
}

TEST_F(SerialPortOpen, UnreadableDeviceIsPermissionDenied) {
    if (geteuid() == 0) GTEST_SKIP() << "root opens any device";
    ASSERT_EQ(chmod(pty.SlavePath().c_str(), 0), 0);
    EXPECT_FALSE(port.OpenPort(&watcher, 1, pty.SlavePath(), 115200, 'N', 8, 1, 0, 64));
    EXPECT_EQ(port.OpenFailureReason(), OpenFailure::PermissionDenied);
}

TEST(SerialPortOpenFailure, ErrnoMapsToReason) {
    const std::vector<std::pair<int, OpenFailure>> cases = {{0, OpenFailure::None},
                                                            {ENOENT, OpenFailure::NoSuchDevice},
                                                            {ENXIO, OpenFailure::NoSuchDevice},
                                                            {EACCES, OpenFailure::PermissionDenied},
                                                            {EPERM, OpenFailure::PermissionDenied},
                                                            {EBUSY, OpenFailure::Busy},
                                                            {EIO, OpenFailure::Other}};
    for (const auto& [error, reason] : cases)
        EXPECT_EQ(OpenFailureFromErrno(error), reason) << error;
}

using SerialPortEvents = SerialPortTest;

TEST_F(SerialPortEvents, EventCharacterFollowsTheBatchHoldingIt) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(ReceiveFromPeer({'a', 'b', CSerialPort::kEventChar, 'c'}));
    ASSERT_TRUE(watcher.WaitUntil(port, [&] { return watcher.Count(Kind::EventChar) > 0; }));
    std::vector<std::uint8_t> before;
    for (const PortEvent& event : watcher.events) {
        EXPECT_EQ(event.portNumber, 3u);
        if (event.kind == Kind::EventChar) break;
        before.insert(before.end(), event.bytes.begin(), event.bytes.end());
    }
    EXPECT_NE(std::find(before.begin(), before.end(), CSerialPort::kEventChar), before.end());

    // Without the event-character bit only the bytes come.
    watcher.events.clear();
    watcher.received.clear();
    ASSERT_TRUE(Open(115200, CSerialPort::kEvRxChar));
    ASSERT_TRUE(ReceiveFromPeer({CSerialPort::kEventChar}));
    port.StopMonitorThread();
    watcher.Drain(port);
    EXPECT_EQ(watcher.Count(Kind::EventChar), 0u);
}

TEST_F(SerialPortEvents, ClosedPeerIsReportedOnceAsLost) {
    ASSERT_TRUE(Open());
    pty.CloseMaster();
    ASSERT_TRUE(watcher.WaitUntil(port, [&] { return watcher.Count(Kind::Lost) > 0; }));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.MonitorAlive());
    EXPECT_FALSE(port.QueueWrite(nullptr, 0));
    port.StopMonitorThread();
    watcher.Drain(port);
    EXPECT_EQ(watcher.Count(Kind::Lost), 1u);
    EXPECT_EQ(watcher.events.back().portNumber, 3u);

    PtyPair next;
    ASSERT_TRUE(next.IsValid());
    EXPECT_TRUE(port.OpenPort(&watcher, 5, next.SlavePath(), 115200, 'N', 8, 1, kBothEvents, 2048));
    EXPECT_TRUE(port.StartMonitorThread());
}

}  // namespace
}  // namespace zephran
