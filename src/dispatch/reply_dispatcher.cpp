#include "dispatch/reply_dispatcher.h"

#include "link/link_frame.h"

namespace zephran {
namespace {

// Groups whose every reply is logged before it is routed, listed or not.
bool LogsEveryReply(std::uint8_t group) {
    return group == 9 || group == 11 || group == 13 || group == 18;
}

}  // namespace

void ReplyDispatcher::Route(std::uint8_t group, std::uint8_t msgId, Handler handler, bool logged) {
    Entry& entry = routes_[RequestKey(group, msgId)];
    entry.handlers.push_back(std::move(handler));
    entry.logged = entry.logged || logged;
}

void ReplyDispatcher::RouteGroup(std::uint8_t group, Handler handler) {
    groupRoutes_[group] = std::move(handler);
}

int ReplyDispatcher::DispatchFrame(const ReceiveArea& frame) {
    ++receiveCount_;
    bookkeeping_.ReceiveCounted(receiveCount_);
    bookkeeping_.RemovePending(frame.group, frame.msgId);

    if (frame.group == 15 && frame.msgId == 1) ++liveCounts_[kLiveAhrs];
    if (frame.group == 16 && frame.msgId >= 1 && frame.msgId <= 3) ++liveCounts_[frame.msgId];

    if (const auto group = groupRoutes_.find(frame.group); group != groupRoutes_.end()) {
        group->second(frame);
        return 0;
    }
    if (LogsEveryReply(frame.group))
        log_.LogTraffic(TrafficDirection::Received, frame.group, frame.msgId);
    const auto route = routes_.find(RequestKey(frame.group, frame.msgId));
    if (route == routes_.end()) return 0;
    if (route->second.logged && !LogsEveryReply(frame.group)) {
        log_.LogTraffic(TrafficDirection::Received, frame.group, frame.msgId);
    }
    for (const Handler& handler : route->second.handlers)
        handler(frame);
    return 0;
}

}  // namespace zephran
