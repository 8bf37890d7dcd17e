#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sim/board.h"

namespace zephran::sim {

// What a simulated board can be told to do wrong, to show how the application copes.
enum class FaultKind {
    DropReply,    // the next reply is never sent
    AnswerTwice,  // the next reply is sent twice
    AnswerLate,   // the next reply goes out after `time`
    CorruptCrc,   // the next reply goes out with a CRC that does not match
    Garbage,      // `bytes` bytes of noise (never a sync byte) before each of the next `frames`
    SplitBytes,   // the next `frames` go out a byte at a time, `time` apart
    Stall,        // for `time` the board neither reads, computes nor writes
    Vanish,       // half of the next frame goes out, then the device disappears for good
};

struct Fault {
    FaultKind kind = FaultKind::DropReply;
    std::chrono::milliseconds time{0};
    std::size_t frames = 1;
    std::size_t bytes = 16;
};

// One fault from its command text: "drop", "twice", "late MS", "crc", "garbage FRAMES [BYTES]",
// "split FRAMES [GAP_MS]", "stall MS" or "vanish". Nothing for anything else.
std::optional<Fault> ParseFault(std::string_view command);
// The commands ParseFault takes, for usage texts.
std::string FaultCommandsHelp();

// Turns what the board sends into timed pieces for the wire, misbehaving as told: a reply is
// what the board sends in answer to the bytes of one read from the link; everything else it
// sends (its live streams) goes out as it is, except for the faults that act on every frame.
class OutputShaper {
public:
    // A piece of output and the earliest time it may be written.
    struct Piece {
        Clock::time_point notBefore;
        Bytes bytes;
        // The message key (group × 256 + msgId) of the good frame its last byte completes.
        std::optional<std::uint16_t> endsFrame;
        bool vanishAfter = false;  // the device goes once the piece is out
    };

    void Inject(const Fault& fault, Clock::time_point now);

    // Queues frames the board sent at now; reply tells whether they answer a request.
    void Add(const Bytes& frames, bool reply, Clock::time_point now);

    // Whether the board is stalled at now, and until when.
    std::optional<Clock::time_point> StalledUntil(Clock::time_point now) const;

    // The piece to write next when one is due at now; Written tells how much of it went out.
    const Piece* Due(Clock::time_point now) const;
    // Consumes count bytes of the due piece; the message key of the good frame that finished.
    std::optional<std::uint16_t> Written(std::size_t count);
    // When the next piece is due, if any is waiting.
    std::optional<Clock::time_point> NextDue() const;
    std::size_t QueuedBytes() const { return queuedBytes_; }
    void Clear();

private:
    void QueueFrame(Bytes frame, bool good, Clock::time_point now);
    void Queue(Piece piece, bool ordered);
    Bytes Noise(std::size_t count);

    std::deque<Piece> pieces_;
    std::size_t queuedBytes_ = 0;
    // Pieces in stream order are never due before the one ahead of them.
    Clock::time_point lastOrdered_{};
    std::deque<Fault> replyFaults_;
    std::size_t garbageFrames_ = 0;
    std::size_t garbageBytes_ = 0;
    std::size_t splitFrames_ = 0;
    std::chrono::milliseconds splitGap_{0};
    bool vanish_ = false;
    Clock::time_point stallUntil_{};
    std::uint32_t noise_ = 0x2545F491;
};

}  // namespace zephran::sim
