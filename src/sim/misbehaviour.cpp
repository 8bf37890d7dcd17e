#include "sim/misbehaviour.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "sim/frame_codec.h"

namespace zephran::sim {
namespace {

// The whole frames of a board's output, which only ever holds whole frames.
std::vector<Bytes> SplitFrames(const Bytes& output) {
    std::vector<Bytes> frames;
    std::size_t at = 0;
    while (at + kFrameOverhead <= output.size()) {
        const std::size_t length = output[at + 4] | output[at + 5] << 8;
        const std::size_t end = std::min(output.size(), at + length + kFrameOverhead);
        frames.emplace_back(output.begin() + static_cast<long>(at),
                            output.begin() + static_cast<long>(end));
        at = end;
    }
    return frames;
}

// The message key of a good frame, for the piece that completes it.
std::optional<std::uint16_t> EndsFrame(const Bytes& frame, bool good) {
    if (!good) return std::nullopt;
    return static_cast<std::uint16_t>(frame[2] << 8 | frame[3]);
}

std::optional<std::size_t> Number(std::string_view text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\r\n", at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view command) {
    const std::vector<std::string_view> words = Words(command);
    if (words.empty()) return std::nullopt;
    std::vector<std::size_t> numbers;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto number = Number(words[i]);
        if (!number) return std::nullopt;
        numbers.push_back(*number);
    }
    const auto ms = [](std::size_t value) {
        return std::chrono::milliseconds(static_cast<long long>(value));
    };
    struct Form {
        std::string_view name;
        FaultKind kind;
        std::size_t least;
        std::size_t most;
    };
    static constexpr std::array<Form, 8> kForms{{
        {"drop", FaultKind::DropReply, 0, 0},
        {"twice", FaultKind::AnswerTwice, 0, 0},
        {"late", FaultKind::AnswerLate, 1, 1},
        {"crc", FaultKind::CorruptCrc, 0, 0},
        {"garbage", FaultKind::Garbage, 1, 2},
        {"split", FaultKind::SplitBytes, 1, 2},
        {"stall", FaultKind::Stall, 1, 1},
        {"vanish", FaultKind::Vanish, 0, 0},
    }};
    for (const Form& form : kForms) {
        if (form.name != words[0]) continue;
        if (numbers.size() < form.least || numbers.size() > form.most) return std::nullopt;
        Fault fault{.kind = form.kind};
        switch (form.kind) {
            case FaultKind::AnswerLate:
            case FaultKind::Stall:
                fault.time = ms(numbers[0]);
                break;
            case FaultKind::Garbage:
                fault.frames = numbers[0];
                if (numbers.size() > 1) fault.bytes = numbers[1];
                break;
            case FaultKind::SplitBytes:
                fault.frames = numbers[0];
                fault.time = ms(numbers.size() > 1 ? numbers[1] : 1);
                break;
            default:
                break;
        }
        return fault;
    }
    return std::nullopt;
}

std::string FaultCommandsHelp() {
    return "drop | twice | late MS | crc | garbage FRAMES [BYTES] | split FRAMES [GAP_MS] | "
           "stall MS | vanish";
}

void OutputShaper::Inject(const Fault& fault, Clock::time_point now) {
    switch (fault.kind) {
        case FaultKind::DropReply:
        case FaultKind::AnswerTwice:
        case FaultKind::AnswerLate:
        case FaultKind::CorruptCrc:
            replyFaults_.push_back(fault);
            break;
        case FaultKind::Garbage:
            garbageFrames_ = fault.frames;
            garbageBytes_ = fault.bytes;
            break;
        case FaultKind::SplitBytes:
            splitFrames_ = fault.frames;
            splitGap_ = fault.time;
            break;
        case FaultKind::Stall:
            stallUntil_ = now + fault.time;
            break;
        case FaultKind::Vanish:
            vanish_ = true;
            break;
    }
}

void OutputShaper::Add(const Bytes& frames, bool reply, Clock::time_point now) {
    if (frames.empty()) return;
    std::optional<Fault> fault;
    if (reply && !replyFaults_.empty()) {
        fault = replyFaults_.front();
        replyFaults_.pop_front();
    }
    const auto is = [&fault](FaultKind kind) { return fault && fault->kind == kind; };
    if (is(FaultKind::DropReply)) return;
    for (Bytes& frame : SplitFrames(frames)) {
        const bool good = !is(FaultKind::CorruptCrc);
        if (!good) frame.back() ^= 0xFF;
        if (is(FaultKind::AnswerLate)) {
            const auto ends = EndsFrame(frame, good);
            Queue({.notBefore = now + fault->time, .bytes = std::move(frame), .endsFrame = ends},
                  false);
            continue;
        }
        if (is(FaultKind::AnswerTwice)) QueueFrame(frame, good, now);
        QueueFrame(std::move(frame), good, now);
    }
}

void OutputShaper::QueueFrame(Bytes frame, bool good, Clock::time_point now) {
    if (garbageFrames_ > 0) {
        --garbageFrames_;
        Queue({.notBefore = now, .bytes = Noise(garbageBytes_)}, true);
    }
    if (vanish_) {
        vanish_ = false;
        frame.resize(frame.size() / 2);
        Queue({.notBefore = now, .bytes = std::move(frame), .vanishAfter = true}, true);
        return;
    }
    if (splitFrames_ == 0) {
        const auto ends = EndsFrame(frame, good);
        Queue({.notBefore = now, .bytes = std::move(frame), .endsFrame = ends}, true);
        return;
    }
    --splitFrames_;
    Clock::time_point at = std::max(now, lastOrdered_);
    const auto ends = EndsFrame(frame, good);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        Queue({.notBefore = at,
               .bytes = {frame[i]},
               .endsFrame = i + 1 == frame.size() ? ends : std::nullopt},
              true);
        at += splitGap_;
    }
}

void OutputShaper::Queue(Piece piece, bool ordered) {
    if (ordered) {
        piece.notBefore = std::max(piece.notBefore, lastOrdered_);
        lastOrdered_ = piece.notBefore;
    }
    queuedBytes_ += piece.bytes.size();
    // After every piece due no later, so that the one being written stays in front.
    const auto at = std::find_if(pieces_.begin(), pieces_.end(), [&](const Piece& queued) {
        return queued.notBefore > piece.notBefore;
    });
    pieces_.insert(at, std::move(piece));
}

Bytes OutputShaper::Noise(std::size_t count) {
    Bytes noise(count);
    for (std::uint8_t& b : noise) {
        noise_ ^= noise_ << 13;
        noise_ ^= noise_ >> 17;
        noise_ ^= noise_ << 5;
        b = static_cast<std::uint8_t>(noise_);
        if (b == kSync1) b ^= 0x01;
    }
    return noise;
}

std::optional<Clock::time_point> OutputShaper::StalledUntil(Clock::time_point now) const {
    if (stallUntil_ > now) return stallUntil_;
    return std::nullopt;
}

const OutputShaper::Piece* OutputShaper::Due(Clock::time_point now) const {
    if (pieces_.empty() || pieces_.front().notBefore > now) return nullptr;
    return &pieces_.front();
}

std::optional<std::uint16_t> OutputShaper::Written(std::size_t count) {
    Piece& piece = pieces_.front();
    count = std::min(count, piece.bytes.size());
    piece.bytes.erase(piece.bytes.begin(), piece.bytes.begin() + static_cast<long>(count));
    queuedBytes_ -= count;
    if (!piece.bytes.empty()) return std::nullopt;
    const auto ended = piece.endsFrame;
    pieces_.pop_front();
    return ended;
}

std::optional<Clock::time_point> OutputShaper::NextDue() const {
    if (pieces_.empty()) return std::nullopt;
    return pieces_.front().notBefore;
}

void OutputShaper::Clear() {
    pieces_.clear();
    queuedBytes_ = 0;
}

}  // namespace zephran::sim
