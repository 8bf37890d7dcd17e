#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/message.h"

namespace zephran {

class ReplyDispatcher;

// One request of a transfer: how it goes out and the reply that answers it.
struct TransferStep {
    std::string name;  // of its set, for messages
    const Message* reply = nullptr;
    std::function<bool()> send;      // false when the frame was not written
    std::function<void()> answered;  // its reply came; the reply's record is current
};

struct TransferResult {
    enum class End { kDone, kNotSent, kNoReply, kCancelled };
    End end = End::kDone;
    std::size_t answered = 0;  // steps answered before the end
    std::string failed;        // the step that was not sent or not answered
};

// Runs requests one at a time: sends one, waits for its reply or for the link's usual time-out
// to take it off the pending list, then sends the next. Driven by the 10 ms tick, so a reply's
// handlers and the message boxes of a time-out have run before the next step or the end.
class ParameterTransfer {
public:
    struct Services {
        // Whether a request of the message still waits for its reply.
        std::function<bool(const Message&)> pending;
        std::function<void(int percent)> progress;
    };
    using Done = std::function<void(const TransferResult&)>;

    explicit ParameterTransfer(Services services) : s_(std::move(services)) {}

    // Routes the replies of a message to the transfer; a message is routed once.
    void Listen(ReplyDispatcher& dispatcher, const Message& message);

    // Starts at the next tick; done runs when every step was answered or one failed.
    void Start(std::vector<TransferStep> steps, Done done);
    // Ends the transfer now; a late reply is ignored.
    void Cancel() { Finish(TransferResult::End::kCancelled); }
    bool Active() const { return state_ != State::kIdle; }
    void OnTick();

private:
    enum class State { kIdle, kReady, kWaiting, kAnswered };

    void OnReply(const Message& message);
    void SendCurrent();
    void Finish(TransferResult::End end);

    Services s_;
    State state_ = State::kIdle;
    bool sending_ = false;
    std::vector<TransferStep> steps_;
    std::size_t current_ = 0;
    Done done_;
    std::set<std::uint16_t> listened_;
};

}  // namespace zephran
