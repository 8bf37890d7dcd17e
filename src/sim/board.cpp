#include "sim/board.h"

#include <utility>

namespace zephran::sim {
namespace {

constexpr std::uint16_t Key(std::uint8_t group, std::uint8_t msgId) {
    return static_cast<std::uint16_t>(group << 8 | msgId);
}

}  // namespace

Board::Board(std::string product, std::string description, Clock::time_point start)
    : product_(std::move(product)),
      description_(std::move(description)),
      start_(start),
      now_(start) {}

void Board::Handle(std::uint8_t group, std::uint8_t msgId, Handler handler) {
    handlers_[Key(group, msgId)] = std::move(handler);
}

Board::SourceId Board::AddSource(Clock::duration period, Tick tick) {
    sources_.push_back({period, now_ + period, std::move(tick)});
    return sources_.size() - 1;
}

void Board::SetSourcePeriod(SourceId id, Clock::duration period) {
    Source& source = sources_.at(id);
    source.period = period;
    source.due = now_ + period;
}

void Board::Send(std::uint8_t group, std::uint8_t msgId, std::span<const std::uint8_t> payload) {
    const Bytes frame = EncodeFrame(group, msgId, payload);
    output_.insert(output_.end(), frame.begin(), frame.end());
}

void Board::Receive(std::span<const std::uint8_t> bytes, Clock::time_point now) {
    now_ = now;
    for (const Frame& frame : decoder_.Feed(bytes)) {
        const auto found = handlers_.find(Key(frame.group, frame.msgId));
        if (found != handlers_.end()) found->second(frame.payload, *this);
    }
}

void Board::RunDue(Clock::time_point now) {
    now_ = now;
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        Source& source = sources_[i];
        if (source.period == Clock::duration::zero() || source.due > now) continue;
        // A source that fell behind skips the ticks it missed instead of bursting.
        source.due += source.period;
        if (source.due <= now) source.due = now + source.period;
        source.tick(*this);
    }
}

std::optional<Clock::time_point> Board::NextDue() const {
    std::optional<Clock::time_point> next;
    for (const Source& source : sources_) {
        if (source.period != Clock::duration::zero() && (!next || source.due < *next))
            next = source.due;
    }
    return next;
}

Bytes Board::TakeOutput() {
    return std::exchange(output_, {});
}

}  // namespace zephran::sim
