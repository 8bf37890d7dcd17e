#include "sim/virtual_board.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "sim/line_pacer.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;

// How often to look whether someone opened the slave again after the last holder closed it.
constexpr std::chrono::milliseconds kAbsentPoll = 50ms;
// With nothing due the thread still looks round this often.
constexpr std::chrono::milliseconds kLongestPoll = 60s;
// Output beyond this waiting for a reader is dropped, like a full UART buffer drops it.
constexpr std::size_t kMaxPendingOutput = 64 * 1024;
// How far a paced board's output may run ahead of the line: a UART's transmit FIFO.
constexpr std::size_t kFifoBytes = 16;

// The board's thread: waits for requests, due sources and room to write, until its stop
// descriptor becomes readable (its other end closed).
class BoardLoop {
public:
    BoardLoop(std::unique_ptr<Board> board, UniqueFd master, UniqueFd stop, unsigned lineBaud)
        : board_(std::move(board)),
          master_(std::move(master)),
          stop_(std::move(stop)),
          sending_(lineBaud),
          taking_(lineBaud) {}

    void Run() {
        for (;;) {
            std::array<pollfd, 2> fds{{{stop_.Get(), POLLIN, 0}, {master_.Get(), 0, 0}}};
            const bool canWrite = !pending_.empty() && Writable(Clock::now()) > 0;
            fds[1].events = static_cast<short>(canWrite ? POLLIN | POLLOUT : POLLIN);
            // While nobody holds the slave open the master reports a hang-up at once, so it is
            // left out and looked at again after a short wait instead.
            const nfds_t count = peerPresent_ ? 2 : 1;
            const timespec timeout = PollTimeout(Clock::now());
            if (ppoll(fds.data(), count, &timeout, nullptr) < 0 && errno != EINTR) return;
            if (fds[0].revents != 0) return;
            ReadMaster();
            TakeInput();
            board_->RunDue(Clock::now());
            CollectOutput();
            WriteMaster();
        }
    }

private:
    // Bytes of the board's output the line lets through at now: those crossing and a UART
    // FIFO's worth ahead of them.
    std::size_t Writable(Clock::time_point now) const {
        const std::size_t held = sending_.Crossing(now);
        return held > kFifoBytes + pending_.size() ? 0 : kFifoBytes + pending_.size() - held;
    }

    // Bytes the board has taken whole off the line by now.
    std::size_t Crossed(Clock::time_point now) const {
        return input_.size() - std::min(input_.size(), taking_.Crossing(now));
    }

    timespec PollTimeout(Clock::time_point now) const {
        Clock::duration wait = peerPresent_ ? kLongestPoll : kAbsentPoll;
        std::optional<Clock::time_point> due = board_->NextDue();
        const auto consider = [&due](Clock::time_point t) { due = due ? std::min(*due, t) : t; };
        if (!pending_.empty() && Writable(now) == 0) consider(sending_.NextCrossed(now));
        if (!input_.empty()) consider(taking_.NextCrossed(now));
        if (due) wait = std::clamp<Clock::duration>(*due - now, Clock::duration::zero(), wait);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
    }

    void ReadMaster() {
        std::array<std::uint8_t, 4096> buffer{};
        for (;;) {
            const ssize_t n = read(master_.Get(), buffer.data(), buffer.size());
            if (n > 0) {
                peerPresent_ = true;
                input_.insert(input_.end(), buffer.begin(), buffer.begin() + n);
                taking_.Put(static_cast<std::size_t>(n), Clock::now());
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN)
                peerPresent_ = true;
            else
                PeerGone();
            return;
        }
    }

    // Hands the board what the line has delivered by now.
    void TakeInput() {
        const Clock::time_point now = Clock::now();
        const std::size_t count = Crossed(now);
        if (count == 0) return;
        board_->Receive({input_.data(), count}, now);
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    }

    void CollectOutput() {
        const Bytes output = board_->TakeOutput();
        if (peerPresent_ && pending_.size() + output.size() <= kMaxPendingOutput) {
            pending_.insert(pending_.end(), output.begin(), output.end());
            sending_.Put(output.size(), Clock::now());
        }
    }

    void WriteMaster() {
        while (!pending_.empty()) {
            const std::size_t count = std::min(pending_.size(), Writable(Clock::now()));
            if (count == 0) return;
            const ssize_t n = write(master_.Get(), pending_.data(), count);
            if (n > 0) {
                pending_.erase(pending_.begin(), pending_.begin() + n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) PeerGone();
            return;
        }
    }

    // The last holder closed the slave (EIO): what was meant for it is dropped.
    void PeerGone() {
        if (!peerPresent_) return;
        peerPresent_ = false;
        pending_.clear();
        input_.clear();
        board_->DropPartialRequest();
    }

    std::unique_ptr<Board> board_;
    UniqueFd master_;
    UniqueFd stop_;
    // A slave never opened reads like an open, quiet one; after the last close reads fail with
    // EIO until it is opened again.
    bool peerPresent_ = true;
    Bytes pending_;
    // Received from the pty, not yet through the line.
    Bytes input_;
    LinePacer sending_;
    LinePacer taking_;
};

}  // namespace

std::optional<std::string> VirtualBoard::Start(std::string_view product,
                                               const std::string& linkPath) {
    std::shared_ptr<BootloaderControl> bootloader;
    {
        const std::lock_guard lock(mutex_);
        bootloader = bootloader_;
    }
    auto board = MakeBoard(product, Clock::now(), std::move(bootloader));
    if (!board) {
        const std::lock_guard lock(mutex_);
        error_ = "unknown product " + std::string(product);
        return std::nullopt;
    }
    return Start(std::move(board), linkPath);
}

std::optional<std::string> VirtualBoard::Start(std::unique_ptr<Board> board,
                                               const std::string& linkPath) {
    const std::lock_guard lock(mutex_);
    StopLocked();
    std::string slavePath;
    UniqueFd master = OpenPtyMaster(slavePath, error_);
    if (!master.IsOpen()) return std::nullopt;
    std::array<int, 2> stopPipe{};
    if (pipe2(stopPipe.data(), O_CLOEXEC) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return std::nullopt;
    }
    UniqueFd stopRead(stopPipe[0]);
    stopWrite_.Reset(stopPipe[1]);
    if (!linkPath.empty() && !link_.Place(linkPath, slavePath, error_)) {
        stopWrite_.Reset();
        return std::nullopt;
    }
    thread_ =
        std::thread([loop = BoardLoop(std::move(board), std::move(master), std::move(stopRead),
                                      lineBaud_)]() mutable { loop.Run(); });
    return slavePath;
}

void VirtualBoard::Stop() {
    const std::lock_guard lock(mutex_);
    StopLocked();
}

void VirtualBoard::StopLocked() {
    stopWrite_.Reset();
    if (thread_.joinable()) thread_.join();
    link_.Remove();
}

void VirtualBoard::PaceToBaud(unsigned baud) {
    const std::lock_guard lock(mutex_);
    lineBaud_ = baud;
}

void VirtualBoard::SetBootloader(std::shared_ptr<BootloaderControl> control) {
    const std::lock_guard lock(mutex_);
    bootloader_ = std::move(control);
}

bool VirtualBoard::IsRunning() const {
    const std::lock_guard lock(mutex_);
    return thread_.joinable();
}

std::string VirtualBoard::LastError() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

}  // namespace zephran::sim
