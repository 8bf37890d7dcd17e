#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/board.h"
#include "sim/bootloader.h"
#include "sim/misbehaviour.h"
#include "sim/pty_device.h"

namespace zephran::sim {

// Serves one board on the master side of a pty, on a thread of its own, so that the
// application reaches it through its ordinary serial path by opening the slave device. The
// application may close and reopen the device as often as it likes. Thread-safe.
class VirtualBoard {
public:
    VirtualBoard() = default;
    ~VirtualBoard() { Stop(); }
    VirtualBoard(const VirtualBoard&) = delete;
    VirtualBoard& operator=(const VirtualBoard&) = delete;

    // Serves a board of the named product on a new pty and returns the slave device path; a
    // board already running is stopped first. With a link path, that path becomes a symbolic
    // link to the device. Nothing on failure (no pty, a link path taken by something other than
    // a symbolic link), and LastError() says why; an unknown product changes nothing.
    std::optional<std::string> Start(std::string_view product, const std::string& linkPath = {});
    // The same for a board put together by the caller.
    std::optional<std::string> Start(std::unique_ptr<Board> board,
                                     const std::string& linkPath = {});

    // Boards started from now on send and take bytes no faster than a line of this baud rate
    // would carry them; 0 (the default) lets them through at once.
    void PaceToBaud(unsigned baud);
    // Boards of a product started from now on report their bootloader to this control.
    void SetBootloader(std::shared_ptr<BootloaderControl> control);

    // Joins the board's thread, closes the pty and removes the link.
    void Stop();
    bool IsRunning() const;
    std::string LastError() const;

    // Tells the running board to misbehave once in the given way (see FaultKind).
    void Misbehave(const Fault& fault);
    // Frames with a good CRC the board has written whole to the pty since it started.
    std::uint64_t FramesWritten() const;
    // Those of one message.
    std::uint64_t FramesWritten(std::uint8_t group, std::uint8_t msgId) const;

    // What the board's thread and its controllers share.
    struct Control {
        std::mutex mutex;
        std::vector<Fault> faults;
        std::atomic<std::uint64_t> framesWritten{0};
        std::map<std::uint16_t, std::uint64_t> framesByMessage;  // by group × 256 + msgId
        UniqueFd wake;                                           // an eventfd: faults are waiting
    };

private:
    void StopLocked();

    mutable std::mutex mutex_;
    std::thread thread_;
    // Closing it wakes the thread to stop.
    UniqueFd stopWrite_;
    DeviceLink link_;
    std::string error_;
    std::shared_ptr<Control> control_;
    unsigned lineBaud_ = 0;
    std::shared_ptr<BootloaderControl> bootloader_;
};

}  // namespace zephran::sim
