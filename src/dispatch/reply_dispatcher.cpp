#include "dispatch/reply_dispatcher.h"

#include <algorithm>
#include <cstring>

#include "link/link_frame.h"
#include "link/message_catalogue.h"
#include "records/record_store.h"

namespace zephran {

void ReplyDispatcher::Route(const Message& message, Handler handler) {
    routes_[RequestKey(message.group, message.msgId)].push_back(std::move(handler));
}

void ReplyDispatcher::RouteGroup(std::uint8_t group, Handler handler) {
    groupRoutes_[group] = std::move(handler);
}

// Only the bytes the frame carries, never more than the record holds: a short reply keeps the
// rest of the record as it was.
void ReplyDispatcher::CopyIntoRecord(const Message& message, const ReceiveArea& frame) {
    const std::span<std::uint8_t> record = records_.Bytes(message);
    std::memcpy(record.data(), frame.payload, std::min<std::size_t>(frame.Length(), record.size()));
}

int ReplyDispatcher::DispatchFrame(const ReceiveArea& frame) {
    ++receiveCount_;
    bookkeeping_.ReceiveCounted(receiveCount_);
    bookkeeping_.RemovePending(frame.group, frame.msgId);

    const Message* message = FindMessage(frame.group, frame.msgId);
    if (message && message->live != LiveStream::kNone) ++liveCounts_[LiveIndex(message->live)];

    if (const auto group = groupRoutes_.find(frame.group); group != groupRoutes_.end()) {
        group->second(frame);
        return 0;
    }
    const bool groupLogs = LogsEveryReply(frame.group);
    if (groupLogs) log_.LogTraffic(TrafficDirection::Received, frame.group, frame.msgId);
    if (!message || frame.Length() < message->required) return 0;
    if (message->record != ReplyRecord::kNone) CopyIntoRecord(*message, frame);
    if (message->logged && !groupLogs)
        log_.LogTraffic(TrafficDirection::Received, frame.group, frame.msgId);
    const auto route = routes_.find(RequestKey(frame.group, frame.msgId));
    if (route == routes_.end()) return 0;
    for (const Handler& handler : route->second)
        handler(frame);
    return 0;
}

}  // namespace zephran
