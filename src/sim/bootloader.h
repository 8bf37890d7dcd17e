#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sim/board.h"
#include "sim/messages.h"

namespace zephran::sim {

inline constexpr std::size_t kFlashPageSize = 1024;

// What a test sets and reads of a board's bootloader; the board's thread and the test share it.
class BootloaderControl {
public:
    enum class Fault {
        None,
        // After taking page `atPage`, asks for page `number` instead of the next one.
        RequestBeyondImage,
        // Acknowledges the start and never asks for a page.
        EraseNeverEnds,
        // After taking page `atPage`, asks for it once more.
        RepeatRequest,
        // After taking page `atPage`, says nothing more.
        SilentMidTransfer,
    };

    void SetEraseTime(Clock::duration time);
    void SetFault(Fault fault, std::uint32_t atPage = 0, std::uint16_t number = 0);

    // The image of the last update that completed, page count × 1024 bytes.
    std::vector<std::uint8_t> ReceivedImage() const;
    int CompletedUpdates() const;
    int Starts() const;
    // Pages taken that had a wrong number or length.
    int RejectedPages() const;
    // From each page request to its answer's last byte reaching the board.
    std::vector<Clock::duration> AnswerTimes() const;

private:
    friend class Bootloader;
    mutable std::mutex mutex_;
    Clock::duration eraseTime_ = std::chrono::milliseconds(200);
    Fault fault_ = Fault::None;
    std::uint32_t faultPage_ = 0;
    std::uint16_t faultNumber_ = 0;
    std::vector<std::uint8_t> received_;
    int completed_ = 0;
    int starts_ = 0;
    int rejected_ = 0;
    std::vector<Clock::duration> answerTimes_;
};

// Makes the board take firmware updates: it acknowledges the start, erases for the set time,
// then asks for pages 0 to N−1 in order, checks each page's number and length (asking again for
// a wrong one), assembles the image and ends with the request for page N.
void InstallBootloader(Board& board, std::shared_ptr<BootloaderControl> control);

}  // namespace zephran::sim
