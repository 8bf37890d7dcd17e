#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/crc16.h"
#include "link/frame_receiver.h"
#include "link/frame_sender.h"
#include "support/fake_texts.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(std::uint8_t group, std::uint8_t msgId, const Bytes& payload) {
    Bytes body{group, msgId, static_cast<std::uint8_t>(payload.size() & 0xFF),
               static_cast<std::uint8_t>(payload.size() >> 8)};
    body.insert(body.end(), payload.begin(), payload.end());
    const std::uint16_t crc = CalcCrc16(body.data(), body.size());
    Bytes frame{kSync1, kSync2};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

TEST(Crc16, MatchesCrc16Arc) {
    const std::string check = "123456789";
    EXPECT_EQ(CalcCrc16(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0xBB3D);
    EXPECT_EQ(CalcCrc16(nullptr, 0), 0);
    // Table entries 1 and 2 are the register after shifting the single byte through it.
    const std::uint8_t one = 1, two = 2;
    EXPECT_EQ(CalcCrc16(&one, 1), 0xC0C1);
    EXPECT_EQ(CalcCrc16(&two, 1), 0xC181);
}

struct RecordingDispatcher : FrameDispatcher {
    int DispatchFrame(const ReceiveArea& frame) override {
        frames.push_back(
            {frame.group, frame.msgId, Bytes(frame.payload, frame.payload + frame.Length())});
        return 0;
    }
    struct Got {
        std::uint8_t group;
        std::uint8_t msgId;
        Bytes payload;
    };
    std::vector<Got> frames;
};

class FrameParserTest : public ::testing::Test {
protected:
    std::vector<int> Feed(const Bytes& bytes) {
        std::vector<int> results;
        for (auto b : bytes)
            results.push_back(receiver.FrameParser(b));
        return results;
    }
    RecordingDispatcher dispatcher;
    FrameReceiver receiver{dispatcher};
};

TEST_F(FrameParserTest, ConnectReplyParsesAndDispatches) {
    Feed({0x54, 0x4D, 0x0C, 0x01, 0x00, 0x00, 0x52, 0x90});
    ASSERT_EQ(dispatcher.frames.size(), 1u);
    EXPECT_EQ(dispatcher.frames[0].group, 12);
    EXPECT_EQ(dispatcher.frames[0].msgId, 1);
    EXPECT_TRUE(dispatcher.frames[0].payload.empty());
}

TEST_F(FrameParserTest, LengthLimits) {
    const Bytes full(kMaxPayload, 0xA5);
    Feed(Frame(15, 32, full));
    ASSERT_EQ(dispatcher.frames.size(), 1u);
    EXPECT_EQ(dispatcher.frames[0].payload, full);

    // 2049 is refused at the second length byte and the parser hunts for a new sync.
    const auto results = Feed({0x54, 0x4D, 15, 1, 0x01, 0x08});
    EXPECT_EQ(results.back(), kParseLengthTooLong);
    Feed(Frame(1, 0, {'A'}));
    ASSERT_EQ(dispatcher.frames.size(), 2u);
    EXPECT_EQ(dispatcher.frames[1].payload, Bytes{'A'});
}

TEST_F(FrameParserTest, SynchronisesOnlyOnAdjacentSyncBytes) {
    // 54 54 4D: the second 0x54 drops back to state 0, where 0x4D is ignored, so the frame's
    // own header bytes are not taken as a frame.
    Bytes stream{0x54};
    const Bytes body = Frame(12, 1, {});
    stream.insert(stream.end(), body.begin(), body.end());
    Feed(stream);
    EXPECT_TRUE(dispatcher.frames.empty());
}

TEST_F(FrameParserTest, SkipsGarbageAndParsesFramesBackToBack) {
    Bytes stream{0x00, 0xFF, 0x4D, 0x54, 0x00, 0x13};
    for (const auto& frame : {Frame(15, 1, Bytes(49, 7)), Frame(16, 3, {1, 2, 3})}) {
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    Feed(stream);
    ASSERT_EQ(dispatcher.frames.size(), 2u);
    EXPECT_EQ(dispatcher.frames[0].payload, Bytes(49, 7));
    EXPECT_EQ(dispatcher.frames[1].msgId, 3);
}

TEST_F(FrameParserTest, FlippedBitIsDroppedAndNextFrameParses) {
    Bytes bad = Frame(18, 1, Bytes(32, 0x11));
    bad[10] ^= 0x04;
    const auto results = Feed(bad);
    EXPECT_EQ(results.back(), kParseCrcMismatch);
    EXPECT_TRUE(dispatcher.frames.empty());
    Feed(Frame(18, 1, Bytes(32, 0x11)));
    EXPECT_EQ(dispatcher.frames.size(), 1u);
}

TEST_F(FrameParserTest, ZeroLengthGoesStraightToCrc) {
    const auto results = Feed(Frame(14, 0, {}));
    EXPECT_EQ(results.size(), 8u);
    EXPECT_EQ(dispatcher.frames.size(), 1u);
}

TEST_F(FrameParserTest, LostByteCostsOnlyTheDamagedFrames) {
    Bytes damaged = Frame(15, 1, Bytes(10, 1));
    damaged.erase(damaged.begin() + 8);
    Bytes stream = damaged;
    for (int i = 0; i < 3; ++i) {
        const auto good = Frame(15, 2, {static_cast<std::uint8_t>(i)});
        stream.insert(stream.end(), good.begin(), good.end());
    }
    Feed(stream);
    // The short frame swallows the next one as payload; the parser then resynchronises.
    ASSERT_FALSE(dispatcher.frames.empty());
    EXPECT_EQ(dispatcher.frames.back().payload, Bytes{2});
    for (const auto& got : dispatcher.frames)
        EXPECT_EQ(got.msgId, 2);
}

struct FakeSenderHost : FrameSenderHost {
    bool IsConnected() const override { return connected; }
    void AddPendingRequest(std::uint8_t group, std::uint8_t msgId, std::size_t) override {
        pending.push_back(RequestKey(group, msgId));
    }
    std::size_t WriteLimit() const override { return 2048; }
    bool WriteToPort(const std::uint8_t* bytes, std::size_t count) override {
        if (!portTakes) return false;
        writes.emplace_back(bytes, bytes + count);
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void SetStatusText(int pane, const std::string& text) override {
        panes.emplace_back(pane, text);
    }

    bool connected = false;
    bool portTakes = true;
    std::vector<std::uint16_t> pending;
    std::vector<Bytes> writes;
    std::vector<std::string> messages;
    std::vector<std::pair<int, std::string>> panes;
};

class FrameSenderTest : public ::testing::Test {
protected:
    FrameSenderTest() {
        texts.Set("Panel", "TX", "TX");
        texts.Set("MessagBox", "Check Hardware Connect", "Check the board's connection.");
        texts.Set("Communicate State", "CheckConnect", "Connect");
        texts.Set("MessagBox", "Frame Too Long", "Too long:");
        texts.Set("Communicate State", "Query Data", "Page");
    }
    testing::FakeTexts texts;
    testing::VectorLines lines;
    TrafficLog log{lines, texts};
    FakeSenderHost host;
    FrameSender sender{host, log, texts};
};

TEST_F(FrameSenderTest, ConnectRequestIsWrittenWithoutABoard) {
    sender.SendFrame(12, 1, 0, nullptr);
    sender.CheckConnected();
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0], (Bytes{0x54, 0x4D, 0x0C, 0x01, 0x00, 0x00, 0x52, 0x90}));
    EXPECT_TRUE(host.pending.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(lines.lines, std::vector<std::string>{"**Connect**"});
}

TEST_F(FrameSenderTest, RequestWithoutBoardIsRefusedButCounted) {
    const Bytes payload{1, 2, 3};
    sender.SendFrame(15, 33, 3, payload.data());
    sender.CheckConnected();
    EXPECT_TRUE(host.writes.empty());
    EXPECT_TRUE(host.pending.empty());
    EXPECT_EQ(host.messages, std::vector<std::string>{"Check the board's connection."});
    EXPECT_EQ(sender.TransmitCount(), 1u);
    ASSERT_FALSE(host.panes.empty());
    EXPECT_EQ(host.panes.back(), std::make_pair(4, std::string("TX 1")));
}

TEST_F(FrameSenderTest, ConnectedRequestIsPendingAndWrittenWhole) {
    host.connected = true;
    Bytes payload(1026);
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i);
    sender.SendFrame(14, 1, static_cast<std::uint16_t>(payload.size()), payload.data());
    sender.CheckConnected();
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0], Frame(14, 1, payload));
    EXPECT_EQ(host.pending, std::vector<std::uint16_t>{RequestKey(14, 1)});

    // CheckConnected always sends the frame staged last, here again the same one.
    sender.CheckConnected();
    EXPECT_EQ(host.writes.size(), 2u);
    EXPECT_EQ(host.writes[1], host.writes[0]);
    EXPECT_EQ(host.panes.back().second, "TX 2");
}

TEST_F(FrameSenderTest, ShorterFrameAfterLongerOneCarriesOnlyItsOwnBytes) {
    host.connected = true;
    const Bytes longPayload(100, 0xEE);
    sender.SendFrame(16, 5, 100, longPayload.data());
    const Bytes shortPayload{9};
    sender.SendFrame(16, 8, 1, shortPayload.data());
    sender.CheckConnected();
    EXPECT_EQ(host.writes.back(), Frame(16, 8, shortPayload));
}

// A frame the port cannot take whole is refused when it is sent: a message names it, nothing
// is written and nothing waits for an answer that cannot come.
TEST_F(FrameSenderTest, FrameLongerThanThePortTakesIsRefusedAndNeverPending) {
    host.connected = true;
    const Bytes payload(2041);  // 2049 bytes on the wire
    sender.SendFrame(14, 1, static_cast<std::uint16_t>(payload.size()), payload.data());
    EXPECT_FALSE(sender.CheckConnected());
    EXPECT_TRUE(host.writes.empty());
    EXPECT_TRUE(host.pending.empty());
    EXPECT_EQ(host.messages, std::vector<std::string>{"Too long: Page (2049 > 2048)"});

    const Bytes fits(2040);
    sender.SendFrame(14, 1, static_cast<std::uint16_t>(fits.size()), fits.data());
    EXPECT_TRUE(sender.CheckConnected());
    EXPECT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.pending.size(), 1u);
}

// Senders learn whether their frame went out: only then may they change their own state.
TEST_F(FrameSenderTest, CheckConnectedSaysWhetherTheFrameWasWritten) {
    sender.SendFrame(15, 3, 0, nullptr);
    EXPECT_FALSE(sender.CheckConnected());
    host.connected = true;
    host.portTakes = false;
    EXPECT_FALSE(sender.CheckConnected());
    EXPECT_TRUE(host.pending.empty());
    host.portTakes = true;
    EXPECT_TRUE(sender.CheckConnected());
    EXPECT_EQ(host.pending, std::vector<std::uint16_t>{RequestKey(15, 3)});
}

}  // namespace
}  // namespace zephran
