#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "sim/byte_order.h"
#include "sim/frame_codec.h"

namespace zephran::sim {

using Clock = std::chrono::steady_clock;

// The board side of the link without any I/O: request bytes go in, reply and streamed frames
// come out as bytes, and the time is whatever the driver says. A product is a board with its
// handlers and periodic sources registered; all of them run on the driver's one thread.
class Board {
public:
    // Answers one request; it may send any number of frames, or none.
    using Handler = std::function<void(std::span<const std::uint8_t> request, Board& board)>;
    // Runs once per period of a periodic source.
    using Tick = std::function<void(Board& board)>;
    using SourceId = std::size_t;

    static constexpr std::uint8_t kDefaultBaudCode = 10;  // 115200 baud

    Board(std::string product, std::string description, Clock::time_point start);

    const std::string& Product() const { return product_; }
    // The board and its firmware in a few words, as its text stream announces them.
    const std::string& Description() const { return description_; }
    Clock::time_point Now() const { return now_; }
    Clock::duration Uptime() const { return now_ - start_; }

    // Registers the handler of requests (group, msgId), replacing an earlier one. A request
    // without a handler gets no answer at all, as a real board ignores what it does not know.
    void Handle(std::uint8_t group, std::uint8_t msgId, Handler handler);

    // Adds a source that ticks once per period, first one period from now; a zero period keeps
    // it paused.
    SourceId AddSource(Clock::duration period, Tick tick);
    // Gives a source a new period counted from now; zero pauses it.
    void SetSourcePeriod(SourceId id, Clock::duration period);

    // Queues one frame for sending.
    void Send(std::uint8_t group, std::uint8_t msgId, std::span<const std::uint8_t> payload = {});

    // Link state every board keeps, set by the link-control handlers.
    bool Connected() const { return connected_; }
    void SetConnected() { connected_ = true; }
    std::uint8_t BaudCode() const { return baudCode_; }
    void SetBaudCode(std::uint8_t code) { baudCode_ = code; }

    // The driver's side: bytes received at a time, sources due by a time, and what to write.
    void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now);
    void RunDue(Clock::time_point now);
    std::optional<Clock::time_point> NextDue() const;
    Bytes TakeOutput();
    // Forgets a partly received request, when the other end went away.
    void DropPartialRequest() { decoder_.Reset(); }

private:
    struct Source {
        Clock::duration period;
        Clock::time_point due;
        Tick tick;
    };

    std::string product_;
    std::string description_;
    Clock::time_point start_;
    Clock::time_point now_;
    FrameDecoder decoder_;
    std::map<std::uint16_t, Handler> handlers_;
    // A deque keeps each source in place while a tick adds another.
    std::deque<Source> sources_;
    Bytes output_;
    bool connected_ = false;
    std::uint8_t baudCode_ = kDefaultBaudCode;
};

}  // namespace zephran::sim
