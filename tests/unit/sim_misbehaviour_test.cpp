// The simulated board's misbehaviour at the byte level: what goes on the wire, and when.
#include <gtest/gtest.h>

#include "sim/frame_codec.h"
#include "sim/misbehaviour.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;

// Writes everything due up to a time, a piece at a time, and decodes it.
class Wire {
public:
    explicit Wire(OutputShaper& shaper) : shaper_(shaper) {}

    void RunUntil(Clock::time_point until) {
        while (const OutputShaper::Piece* piece = shaper_.Due(until)) {
            times.push_back(piece->notBefore);
            bytes.insert(bytes.end(), piece->bytes.begin(), piece->bytes.end());
            vanished = vanished || piece->vanishAfter;
            if (const auto message = shaper_.Written(piece->bytes.size())) {
                ++goodFrames;
                messages.push_back(*message);
            }
        }
    }
    std::vector<Frame> Frames() const {
        FrameDecoder decoder;
        return decoder.Feed(bytes);
    }

    Bytes bytes;
    std::vector<Clock::time_point> times;
    std::size_t goodFrames = 0;
    // The message key of each good frame, as it was finished.
    std::vector<std::uint16_t> messages;
    bool vanished = false;

private:
    OutputShaper& shaper_;
};

const Clock::time_point t0 = Clock::time_point() + 1h;
const Bytes kReply = EncodeFrame(15, 32, Bytes{1, 2, 3});
const Bytes kLive = EncodeFrame(15, 1, Bytes(49, 7));

TEST(SimMisbehaviour, CommandsParse) {
    EXPECT_EQ(ParseFault("late 1500")->time, 1500ms);
    EXPECT_EQ(ParseFault("garbage 20 5")->frames, 20u);
    EXPECT_EQ(ParseFault("garbage 20 5")->bytes, 5u);
    EXPECT_EQ(ParseFault("split 3")->time, 1ms);
    EXPECT_EQ(ParseFault(" vanish ")->kind, FaultKind::Vanish);
    for (const char* bad : {"", "late", "drop 1", "stall x", "explode", "split 1 2 3"})
        EXPECT_FALSE(ParseFault(bad)) << bad;
}

TEST(SimMisbehaviour, ReplyFaultsActOnTheNextReplyOnlyAndLeaveTheStreamAlone) {
    OutputShaper shaper;
    Wire wire(shaper);
    shaper.Inject({.kind = FaultKind::DropReply}, t0);
    shaper.Inject({.kind = FaultKind::AnswerTwice}, t0);
    shaper.Inject({.kind = FaultKind::CorruptCrc}, t0);
    shaper.Add(kLive, false, t0);
    shaper.Add(kReply, true, t0);  // dropped
    shaper.Add(kReply, true, t0);  // twice
    shaper.Add(kReply, true, t0);  // bad CRC
    shaper.Add(kReply, true, t0);  // as it is
    wire.RunUntil(t0);
    const Frame reply{15, 32, {1, 2, 3}};
    const Frame live{15, 1, Bytes(49, 7)};
    EXPECT_EQ(wire.Frames(), (std::vector<Frame>{live, reply, reply, reply}));
    EXPECT_EQ(wire.goodFrames, 4u);
    EXPECT_EQ(wire.messages, (std::vector<std::uint16_t>{0x0F01, 0x0F20, 0x0F20, 0x0F20}));
    EXPECT_EQ(wire.bytes.size(), kLive.size() + 4 * kReply.size());
}

TEST(SimMisbehaviour, LateReplyWaitsWhileTheStreamGoesOn) {
    OutputShaper shaper;
    Wire wire(shaper);
    shaper.Inject({.kind = FaultKind::AnswerLate, .time = 300ms}, t0);
    shaper.Add(kReply, true, t0);
    shaper.Add(kLive, false, t0 + 10ms);
    wire.RunUntil(t0 + 299ms);
    EXPECT_EQ(wire.bytes, kLive);
    EXPECT_EQ(shaper.NextDue(), t0 + 300ms);
    wire.RunUntil(t0 + 300ms);
    EXPECT_EQ(wire.Frames().size(), 2u);
}

TEST(SimMisbehaviour, GarbageHoldsNoSyncByteAndSplitBytesKeepTheirGaps) {
    OutputShaper shaper;
    Wire wire(shaper);
    shaper.Inject({.kind = FaultKind::Garbage, .frames = 2, .bytes = 300}, t0);
    for (int i = 0; i < 3; ++i)
        shaper.Add(kLive, false, t0);
    wire.RunUntil(t0);
    EXPECT_EQ(wire.bytes.size(), 3 * kLive.size() + 600);
    EXPECT_EQ(std::count(wire.bytes.begin(), wire.bytes.end(), kSync1), 3);
    EXPECT_EQ(wire.Frames().size(), 3u);

    OutputShaper split;
    Wire bytes(split);
    split.Inject({.kind = FaultKind::SplitBytes, .time = 2ms, .frames = 1}, t0);
    split.Add(kReply, false, t0);
    split.Add(kLive, false, t0);
    bytes.RunUntil(t0 + 1h);
    ASSERT_EQ(bytes.times.size(), kReply.size() + 1);
    EXPECT_EQ(bytes.times[1] - bytes.times[0], 2ms);
    // The next frame waits for the last byte of the split one.
    EXPECT_EQ(bytes.times.back(), t0 + 2ms * (kReply.size() - 1));
    EXPECT_EQ(bytes.Frames().size(), 2u);
    EXPECT_EQ(bytes.goodFrames, 2u);
    // The split frame counts once, at its last byte.
    EXPECT_EQ(bytes.messages, (std::vector<std::uint16_t>{0x0F20, 0x0F01}));
}

TEST(SimMisbehaviour, StallAndVanish) {
    OutputShaper shaper;
    Wire wire(shaper);
    shaper.Inject({.kind = FaultKind::Stall, .time = 500ms}, t0);
    EXPECT_EQ(shaper.StalledUntil(t0 + 100ms), t0 + 500ms);
    EXPECT_FALSE(shaper.StalledUntil(t0 + 500ms));

    shaper.Inject({.kind = FaultKind::Vanish}, t0);
    shaper.Add(kLive, false, t0);
    wire.RunUntil(t0);
    EXPECT_TRUE(wire.vanished);
    EXPECT_EQ(wire.bytes.size(), kLive.size() / 2);
    EXPECT_EQ(wire.goodFrames, 0u);
}

}  // namespace
}  // namespace zephran::sim
