#include "params/parameter_transfer.h"

#include "dispatch/reply_dispatcher.h"

namespace zephran {
namespace {

bool SameMessage(const Message& a, const Message& b) {
    return a.Is(b.group, b.msgId);
}

}  // namespace

void ParameterTransfer::Listen(ReplyDispatcher& dispatcher, const Message& message) {
    const auto key = static_cast<std::uint16_t>(message.group * 256 + message.msgId);
    if (!listened_.insert(key).second) return;
    dispatcher.Route(message, [this, &message](const ReceiveArea&) { OnReply(message); });
}

void ParameterTransfer::Start(std::vector<TransferStep> steps, Done done) {
    steps_ = std::move(steps);
    done_ = std::move(done);
    current_ = 0;
    state_ = steps_.empty() ? State::kAnswered : State::kReady;
    s_.progress(0);
}

void ParameterTransfer::OnReply(const Message& message) {
    if (state_ != State::kWaiting || !SameMessage(*steps_[current_].reply, message)) return;
    state_ = State::kAnswered;
    steps_[current_].answered();
}

void ParameterTransfer::OnTick() {
    // A message box of a send runs its own loop, whose ticks must not send again.
    if (sending_) return;
    switch (state_) {
        case State::kIdle:
            return;
        case State::kReady:
            SendCurrent();
            return;
        case State::kWaiting:
            // The link's time-out took the request off the list without a reply.
            if (!s_.pending(*steps_[current_].reply)) Finish(TransferResult::End::kNoReply);
            return;
        case State::kAnswered:
            if (steps_.empty() || ++current_ == steps_.size()) {
                Finish(TransferResult::End::kDone);
            } else {
                SendCurrent();
            }
            return;
    }
}

void ParameterTransfer::SendCurrent() {
    s_.progress(static_cast<int>(current_ * 100 / steps_.size()));
    state_ = State::kWaiting;
    // A copy: a cancel from the loop of a message box clears the steps while it runs.
    const std::function<bool()> send = steps_[current_].send;
    sending_ = true;
    const bool sent = send();
    sending_ = false;
    if (!sent && state_ == State::kWaiting) Finish(TransferResult::End::kNotSent);
}

void ParameterTransfer::Finish(TransferResult::End end) {
    if (state_ == State::kIdle) return;
    TransferResult result{end, current_, {}};
    if (end == TransferResult::End::kDone) {
        result.answered = steps_.size();
    } else if (current_ < steps_.size() && end != TransferResult::End::kCancelled) {
        result.failed = steps_[current_].name;
    }
    // Idle before anyone hears of it: done may start the next transfer.
    state_ = State::kIdle;
    steps_.clear();
    Done done = std::move(done_);
    done_ = nullptr;
    s_.progress(0);
    if (done) done(result);
}

}  // namespace zephran
