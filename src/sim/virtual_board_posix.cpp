#include "sim/virtual_board.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
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

// The board's thread: waits for requests, due sources, due output and faults to play, until its
// stop descriptor becomes readable (its other end closed). A paced board takes and sends bytes
// no faster than a line of its baud rate.
class BoardLoop {
public:
    BoardLoop(std::unique_ptr<Board> board, UniqueFd master, UniqueFd stop,
              std::shared_ptr<VirtualBoard::Control> control, unsigned lineBaud)
        : board_(std::move(board)),
          master_(std::move(master)),
          stop_(std::move(stop)),
          control_(std::move(control)),
          sending_(lineBaud),
          taking_(lineBaud) {}

    void Run() {
        for (;;) {
            const Clock::time_point now = Clock::now();
            const auto stalled = shaper_.StalledUntil(now);
            const bool watchMaster = master_.IsOpen() && peerPresent_ && !stalled;
            const bool writable = shaper_.Due(now) != nullptr && Writable(now) > 0;
            std::array<pollfd, 3> fds{{{stop_.Get(), POLLIN, 0},
                                       {control_->wake.Get(), POLLIN, 0},
                                       {master_.Get(), 0, 0}}};
            fds[2].events = static_cast<short>(writable ? POLLIN | POLLOUT : POLLIN);
            // While nobody holds the slave open the master reports a hang-up at once, so it is
            // left out and looked at again after a short wait instead.
            const nfds_t count = watchMaster ? 3 : 2;
            const timespec timeout = PollTimeout(now, stalled);
            if (ppoll(fds.data(), count, &timeout, nullptr) < 0 && errno != EINTR) return;
            if (fds[0].revents != 0) return;
            if (fds[1].revents != 0) TakeFaults();
            if (!master_.IsOpen() || shaper_.StalledUntil(Clock::now())) continue;
            ReadMaster();
            TakeInput();
            board_->RunDue(Clock::now());
            Collect(false);
            WriteMaster();
        }
    }

private:
    timespec PollTimeout(Clock::time_point now, std::optional<Clock::time_point> stalled) const {
        Clock::duration wait = peerPresent_ ? kLongestPoll : kAbsentPoll;
        const auto until = [&](Clock::time_point due) {
            wait = std::clamp<Clock::duration>(due - now, Clock::duration::zero(), wait);
        };
        if (stalled) {
            until(*stalled);
        } else if (master_.IsOpen()) {
            if (const auto due = board_->NextDue()) until(*due);
            // A piece already due waits for the master to take it (POLLOUT), not for a time-out:
            // an unread slave with a full buffer would otherwise turn this loop into a spin.
            if (const auto due = shaper_.NextDue(); due && *due > now) until(*due);
            if (shaper_.Due(now) && Writable(now) == 0) until(sending_.NextCrossed(now));
            if (!input_.empty()) until(taking_.NextCrossed(now));
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
    }

    // Bytes the line lets through at now: a UART FIFO's worth ahead of those still crossing.
    std::size_t Writable(Clock::time_point now) const {
        if (!sending_.Paced()) return kMaxPendingOutput;
        const std::size_t crossing = sending_.Crossing(now);
        return crossing >= kFifoBytes ? 0 : kFifoBytes - crossing;
    }

    // Hands the board what the line has delivered by now.
    void TakeInput() {
        const Clock::time_point now = Clock::now();
        const std::size_t count = input_.size() - std::min(input_.size(), taking_.Crossing(now));
        if (count == 0) return;
        board_->Receive({input_.data(), count}, now);
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
        Collect(true);
    }

    void TakeFaults() {
        std::uint64_t count;
        [[maybe_unused]] const ssize_t n = read(control_->wake.Get(), &count, sizeof count);
        std::vector<Fault> faults;
        {
            const std::lock_guard lock(control_->mutex);
            faults.swap(control_->faults);
        }
        for (const Fault& fault : faults)
            shaper_.Inject(fault, Clock::now());
    }

    void CountFrame(std::uint16_t message) {
        ++control_->framesWritten;
        const std::lock_guard lock(control_->mutex);
        ++control_->framesByMessage[message];
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

    void Collect(bool reply) {
        const Bytes output = board_->TakeOutput();
        if (peerPresent_ && shaper_.QueuedBytes() + output.size() <= kMaxPendingOutput)
            shaper_.Add(output, reply, Clock::now());
    }

    void WriteMaster() {
        while (const OutputShaper::Piece* piece = shaper_.Due(Clock::now())) {
            const std::size_t count = std::min(piece->bytes.size(), Writable(Clock::now()));
            if (count == 0) return;
            const ssize_t n = write(master_.Get(), piece->bytes.data(), count);
            if (n > 0) {
                sending_.Put(static_cast<std::size_t>(n), Clock::now());
                const bool vanish =
                    piece->vanishAfter && static_cast<std::size_t>(n) == piece->bytes.size();
                if (const auto message = shaper_.Written(static_cast<std::size_t>(n)))
                    CountFrame(*message);
                if (vanish) {
                    Vanish();
                    return;
                }
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
        shaper_.Clear();
        input_.clear();
        board_->DropPartialRequest();
    }

    // The device disappears: the holder of the slave sees a hang-up, and nothing more comes.
    void Vanish() {
        master_.Reset();
        shaper_.Clear();
    }

    std::unique_ptr<Board> board_;
    UniqueFd master_;
    UniqueFd stop_;
    std::shared_ptr<VirtualBoard::Control> control_;
    // A slave never opened reads like an open, quiet one; after the last close reads fail with
    // EIO until it is opened again.
    bool peerPresent_ = true;
    OutputShaper shaper_;
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
    control_ = std::make_shared<Control>();
    control_->wake.Reset(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    thread_ =
        std::thread([loop = BoardLoop(std::move(board), std::move(master), std::move(stopRead),
                                      control_, lineBaud_)]() mutable { loop.Run(); });
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

void VirtualBoard::Misbehave(const Fault& fault) {
    const std::lock_guard lock(mutex_);
    if (!control_) return;
    {
        const std::lock_guard faults(control_->mutex);
        control_->faults.push_back(fault);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(control_->wake.Get(), &one, sizeof one);
}

std::uint64_t VirtualBoard::FramesWritten() const {
    const std::lock_guard lock(mutex_);
    return control_ ? control_->framesWritten.load() : 0;
}

std::uint64_t VirtualBoard::FramesWritten(std::uint8_t group, std::uint8_t msgId) const {
    const std::lock_guard lock(mutex_);
    if (!control_) return 0;
    const std::lock_guard counts(control_->mutex);
    const auto found =
        control_->framesByMessage.find(static_cast<std::uint16_t>(group << 8 | msgId));
    return found == control_->framesByMessage.end() ? 0 : found->second;
}

std::string VirtualBoard::LastError() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

}  // namespace zephran::sim
