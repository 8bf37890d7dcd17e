#include "sim/bootloader.h"

#include <algorithm>

namespace zephran::sim {

void BootloaderControl::SetEraseTime(Clock::duration time) {
    const std::lock_guard lock(mutex_);
    eraseTime_ = time;
}

void BootloaderControl::SetFault(Fault fault, std::uint32_t atPage, std::uint16_t number) {
    const std::lock_guard lock(mutex_);
    fault_ = fault;
    faultPage_ = atPage;
    faultNumber_ = number;
}

std::vector<std::uint8_t> BootloaderControl::ReceivedImage() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

int BootloaderControl::CompletedUpdates() const {
    const std::lock_guard lock(mutex_);
    return completed_;
}

int BootloaderControl::Starts() const {
    const std::lock_guard lock(mutex_);
    return starts_;
}

int BootloaderControl::RejectedPages() const {
    const std::lock_guard lock(mutex_);
    return rejected_;
}

std::vector<Clock::duration> BootloaderControl::AnswerTimes() const {
    const std::lock_guard lock(mutex_);
    return answerTimes_;
}

// One board's bootloader state, on the board's thread.
class Bootloader {
public:
    explicit Bootloader(std::shared_ptr<BootloaderControl> control)
        : control_(std::move(control)) {}

    // The erase source; the board's handlers and source keep the bootloader alive.
    static void Install(Board& board, const std::shared_ptr<Bootloader>& self) {
        self->erase_ = board.AddSource(Clock::duration::zero(), [self](Board& b) {
            b.SetSourcePeriod(self->erase_, Clock::duration::zero());
            self->Request(b, 0);
        });
        board.Handle(
            kUpdateGroup, kUpdateStartId,
            [self](std::span<const std::uint8_t> request, Board& b) { self->Start(request, b); });
        board.Handle(
            kUpdateGroup, kUpdatePageId,
            [self](std::span<const std::uint8_t> request, Board& b) { self->Page(request, b); });
    }

private:
    void Start(std::span<const std::uint8_t> request, Board& board) {
        if (request.size() != 2) return;
        pages_ = GetU16(request, 0);
        image_.assign(std::size_t{pages_} * kFlashPageSize, 0xFF);
        next_ = 0;
        silent_ = false;
        repeated_ = false;
        Clock::duration eraseTime;
        BootloaderControl::Fault fault;
        {
            const std::lock_guard lock(control_->mutex_);
            ++control_->starts_;
            eraseTime = control_->eraseTime_;
            fault = control_->fault_;
        }
        board.Send(kUpdateGroup, kUpdateStartId);
        if (fault == BootloaderControl::Fault::EraseNeverEnds) {
            board.SetSourcePeriod(erase_, Clock::duration::zero());
        } else if (eraseTime <= Clock::duration::zero()) {
            Request(board, 0);
        } else {
            board.SetSourcePeriod(erase_, eraseTime);
        }
    }

    void Page(std::span<const std::uint8_t> request, Board& board) {
        if (silent_ || next_ >= pages_) return;
        const std::lock_guard lock(control_->mutex_);
        control_->answerTimes_.push_back(board.Now() - asked_);
        if (request.size() != 2 + kFlashPageSize || GetU16(request, 0) != next_) {
            ++control_->rejected_;
            Send(board, next_);
            return;
        }
        std::copy(request.begin() + 2, request.end(),
                  image_.begin() + static_cast<std::ptrdiff_t>(next_ * kFlashPageSize));
        const std::uint32_t taken = next_++;
        if (taken == control_->faultPage_) {
            switch (control_->fault_) {
                case BootloaderControl::Fault::RequestBeyondImage:
                    Send(board, control_->faultNumber_);
                    return;
                case BootloaderControl::Fault::RepeatRequest:
                    if (repeated_) break;
                    repeated_ = true;
                    next_ = taken;
                    Send(board, taken);
                    return;
                case BootloaderControl::Fault::SilentMidTransfer:
                    silent_ = true;
                    return;
                default:
                    break;
            }
        }
        if (next_ == pages_) {
            control_->received_ = image_;
            ++control_->completed_;
        }
        Send(board, next_);
    }

    void Request(Board& board, std::uint32_t page) {
        const std::lock_guard lock(control_->mutex_);
        if (page == 0 && pages_ == 0) {
            control_->received_.clear();
            ++control_->completed_;
        }
        Send(board, page);
    }

    // Asks for a page; control_'s mutex is held.
    void Send(Board& board, std::uint32_t page) {
        Bytes payload;
        PutU16(payload, 0, static_cast<std::uint16_t>(page));
        board.Send(kUpdateGroup, kUpdatePageId, payload);
        asked_ = board.Now();
    }

    std::shared_ptr<BootloaderControl> control_;
    Board::SourceId erase_ = 0;
    std::uint32_t pages_ = 0;
    std::uint32_t next_ = 0;
    bool silent_ = false;
    bool repeated_ = false;
    Clock::time_point asked_{};
    Bytes image_;
};

void InstallBootloader(Board& board, std::shared_ptr<BootloaderControl> control) {
    Bootloader::Install(board, std::make_shared<Bootloader>(std::move(control)));
}

}  // namespace zephran::sim
