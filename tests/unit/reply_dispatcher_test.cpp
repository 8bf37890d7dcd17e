// The dispatcher takes what a reply gets from the message catalogue: its log line, its live
// counter and the copy into its record, all before any handler runs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/record_store.h"
#include "support/fake_texts.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ReplyDispatcherTest : public ::testing::Test, public ReplyDispatcher::Bookkeeping {
protected:
    void ReceiveCounted(std::int32_t) override {}
    void RemovePending(std::uint8_t, std::uint8_t) override {}

    void Dispatch(std::uint8_t group, std::uint8_t msgId, const Bytes& payload) {
        frame_.group = group;
        frame_.msgId = msgId;
        frame_.length[0] = static_cast<std::uint8_t>(payload.size() & 0xFF);
        frame_.length[1] = static_cast<std::uint8_t>(payload.size() >> 8);
        if (!payload.empty()) std::memcpy(frame_.payload, payload.data(), payload.size());
        dispatcher.DispatchFrame(frame_);
    }

    testing::FakeTexts texts;
    testing::VectorLines lines;
    TrafficLog log{lines, texts};
    RecordStore records;
    ReplyDispatcher dispatcher{*this, log, records};
    ReceiveArea frame_{};
};

// Whatever order the handlers were routed in, each one sees the record already current.
TEST_F(ReplyDispatcherTest, EveryHandlerSeesTheRecordAlreadyCopied) {
    std::vector<float> seen;
    for (int k = 0; k < 2; ++k)
        dispatcher.Route(msg::DL_ID_AHRS_DATE_COME,
                         [&](const ReceiveArea&) { seen.push_back(float{records.ahrsLive.roll}); });
    Bytes live(49, 0);
    const float roll = 12.5f;
    std::memcpy(&live[1], &roll, sizeof roll);
    Dispatch(15, 1, live);
    EXPECT_EQ(seen, (std::vector<float>{12.5f, 12.5f}));
    EXPECT_EQ(dispatcher.LiveCount(LiveStream::kAhrs), 1u);
    EXPECT_TRUE(lines.lines.empty());
}

// A reply longer than its record is cut to it and never reaches the next record in the store.
TEST_F(ReplyDispatcherTest, CopiesAreBoundedByTheRecord) {
    records.pidSets[1].leading = 0x55;
    Dispatch(18, 1, Bytes(200, 0xAB));
    EXPECT_EQ(records.pidSets[0].leading, 0xAB);
    EXPECT_EQ(records.pidSets[1].leading, 0x55);
    Dispatch(18, 4, Bytes{7});
    EXPECT_EQ(records.pidSets[1].leading, 7);
    EXPECT_EQ(records.pidSets[1].p, 0);
}

// A reply shorter than its layout changes no record and reaches no handler, but its group
// still logs it.
TEST_F(ReplyDispatcherTest, ShortReplyOfAFixedLayoutChangesNothing) {
    int handled = 0;
    dispatcher.Route(msg::DL_ID_AAT_SERVO_READ_YAW_PID_SET, [&](const ReceiveArea&) { ++handled; });
    records.aatYawPid.p = 3;
    Dispatch(11, 23, Bytes(19, 0));
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(records.aatYawPid.p, 3);
    EXPECT_EQ(lines.lines.size(), 1u);
    Dispatch(11, 23, Bytes(20, 0));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(records.aatYawPid.p, 0);
}

// The catalogue decides the log: listed replies of groups 15 and 16 as they say, unlisted ones
// never; groups 9, 11, 13 and 18 log every reply; group 17 none.
TEST_F(ReplyDispatcherTest, LoggingFollowsTheCatalogue) {
    Dispatch(15, 56, {});  // Log only
    Dispatch(15, 2, {});   // an acknowledgement: not logged
    Dispatch(15, 26, {});  // unlisted
    Dispatch(16, 7, {});
    EXPECT_EQ(lines.lines.size(), 2u);
    Dispatch(18, 2, {});
    Dispatch(13, 99, {});
    Dispatch(17, 1, {});
    EXPECT_EQ(lines.lines.size(), 4u);
}

}  // namespace
}  // namespace zephran
