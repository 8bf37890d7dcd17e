#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "link/frame_receiver.h"
#include "link/message.h"
#include "link/traffic_log.h"

namespace zephran {

struct RecordStore;

// What every received frame gets, and its routing to the handlers that own it. The message
// catalogue says what a reply gets before its handlers run: its log line, its live counter and
// the copy into its receive record, so every handler of a reply sees that record current.
class ReplyDispatcher : public FrameDispatcher {
public:
    using Handler = std::function<void(const ReceiveArea&)>;

    // The bookkeeping of every frame besides counting: removing its pending requests.
    class Bookkeeping {
    public:
        virtual ~Bookkeeping() = default;
        virtual void ReceiveCounted(std::int32_t count) = 0;
        virtual void RemovePending(std::uint8_t group, std::uint8_t msgId) = 0;
    };

    ReplyDispatcher(Bookkeeping& bookkeeping, TrafficLog& log, RecordStore& records)
        : bookkeeping_(bookkeeping), log_(log), records_(records) {}

    // A handler for one message; several handlers of one message run in the order they were
    // routed.
    void Route(const Message& message, Handler handler);
    // A handler for every message of a group (the text stream).
    void RouteGroup(std::uint8_t group, Handler handler);

    int DispatchFrame(const ReceiveArea& frame) override;

    std::int32_t ReceiveCount() const { return receiveCount_; }
    std::uint32_t LiveCount(LiveStream stream) const { return liveCounts_[LiveIndex(stream)]; }

private:
    void CopyIntoRecord(const Message& message, const ReceiveArea& frame);

    Bookkeeping& bookkeeping_;
    TrafficLog& log_;
    RecordStore& records_;
    std::map<std::uint16_t, std::vector<Handler>> routes_;
    std::map<std::uint8_t, Handler> groupRoutes_;
    std::int32_t receiveCount_ = 0;
    std::array<std::uint32_t, kLiveStreamCount> liveCounts_{};
};

}  // namespace zephran
