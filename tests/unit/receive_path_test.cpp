// The receive path: frames taken a run at a time parse as byte by byte, and bytes the port had
// to discard are counted and shown.
#include <gtest/gtest.h>

#include <random>

#include "link/frame_receiver.h"
#include "support/dialog_fixture.h"

namespace zephran {
namespace {

using testing::DialogFixture;
using testing::FakeLink;

struct Recorder : FrameDispatcher {
    int DispatchFrame(const ReceiveArea& frame) override {
        const auto* raw = reinterpret_cast<const std::uint8_t*>(&frame);
        frames.emplace_back(raw, raw + 4 + frame.Length());
        return 0;
    }
    std::vector<FakeLink::Bytes> frames;
};

TEST(ReceivePath, RunsParseLikeSingleBytesWhereverTheyAreCut) {
    // Good frames of every kind of length among noise, a bad CRC and an oversized length.
    std::mt19937 random(11);
    FakeLink::Bytes stream;
    for (std::size_t length : {0u, 1u, 49u, 2048u, 300u}) {
        FakeLink::Bytes payload(length);
        for (auto& b : payload)
            b = static_cast<std::uint8_t>(random());
        const auto frame = FakeLink::Frame(15, 1, payload);
        stream.insert(stream.end(), {0x54, 0x54, 0x4D, 0x00, 0x13});
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    auto bad = FakeLink::Frame(9, 7, {1, 2, 3});
    bad.back() ^= 1;
    stream.insert(stream.end(), bad.begin(), bad.end());
    stream.insert(stream.end(), {0x54, 0x4D, 1, 1, 0x01, 0x08, 7, 7});
    const auto last = FakeLink::Frame(12, 1, {});
    stream.insert(stream.end(), last.begin(), last.end());

    Recorder single;
    FrameReceiver byByte(single);
    for (auto b : stream)
        byByte.FrameParser(b);
    ASSERT_EQ(single.frames.size(), 6u);

    for (std::size_t run : {1u, 2u, 7u, 64u, 4096u}) {
        Recorder runs;
        FrameReceiver inRuns(runs);
        for (std::size_t at = 0; at < stream.size(); at += run)
            inRuns.ParseBytes(stream.data() + at, std::min(run, stream.size() - at));
        EXPECT_EQ(runs.frames, single.frames) << "runs of " << run;
    }
}

class ReceiveOverflow : public DialogFixture {};

TEST_F(ReceiveOverflow, DiscardedBytesAreCountedAndShownAndLaterFramesStillCount) {
    devices.AddDevice("/dev/ttyUSB0", true);
    Start();
    Advance(1000);
    ASSERT_TRUE(dialog->Session().Connected());
    for (std::size_t count : {5000u, 1200u}) {
        PortEvent dropped;
        dropped.kind = PortEvent::Kind::Discarded;
        dropped.discarded = count;
        link->events.push_back(dropped);
    }
    Receive(15, 1, FakeLink::Bytes(49));
    EXPECT_EQ(dialog->Session().DiscardedBytes(), 6200u);
    EXPECT_EQ(Pane(0), "RX overflow: 6200 bytes discarded (the program fell behind the board)");
    EXPECT_EQ(Pane(3), Text("Panel", "RX") + " 2");
}

}  // namespace
}  // namespace zephran
