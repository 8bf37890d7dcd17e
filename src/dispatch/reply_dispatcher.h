#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "link/frame_receiver.h"
#include "link/traffic_log.h"

namespace zephran {

// Live-frame counters: AHRS live data (15/1), SensorsRaw (16/1), GPSRaw (16/2), NavOutput (16/3).
enum LiveCounter { kLiveAhrs = 0, kLiveSensorsRaw = 1, kLiveGpsRaw = 2, kLiveNavOutput = 3 };

// What every received frame gets, and its routing to the handler that owns it.
class ReplyDispatcher {
public:
    using Handler = std::function<void(const ReceiveArea&)>;

    // The bookkeeping of every frame besides counting: removing its pending requests.
    class Bookkeeping {
    public:
        virtual ~Bookkeeping() = default;
        virtual void ReceiveCounted(std::int32_t count) = 0;
        virtual void RemovePending(std::uint8_t group, std::uint8_t msgId) = 0;
    };

    ReplyDispatcher(Bookkeeping& bookkeeping, TrafficLog& log)
        : bookkeeping_(bookkeeping), log_(log) {}

    // A handler for one message; several handlers of one message run in the order they were
    // routed. logged: the reply is logged once before its handlers run.
    void Route(std::uint8_t group, std::uint8_t msgId, Handler handler, bool logged);
    // A handler for every message of a group (the text stream).
    void RouteGroup(std::uint8_t group, Handler handler);

    int DispatchFrame(const ReceiveArea& frame);

    std::int32_t ReceiveCount() const { return receiveCount_; }
    std::uint32_t LiveCount(LiveCounter counter) const {
        return liveCounts_[static_cast<std::size_t>(counter)];
    }

private:
    struct Entry {
        std::vector<Handler> handlers;
        bool logged = false;
    };

    Bookkeeping& bookkeeping_;
    TrafficLog& log_;
    std::map<std::uint16_t, Entry> routes_;
    std::map<std::uint8_t, Handler> groupRoutes_;
    std::int32_t receiveCount_ = 0;
    std::array<std::uint32_t, 4> liveCounts_{};
};

}  // namespace zephran
