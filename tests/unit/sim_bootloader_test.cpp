#include <gtest/gtest.h>

#include <chrono>

#include "sim/bootloader.h"
#include "sim/line_pacer.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;
using Frames = std::vector<Frame>;
using Fault = BootloaderControl::Fault;

constexpr Clock::time_point kStart{};

Frame PageRequest(std::uint16_t page) {
    return {kUpdateGroup,
            kUpdatePageId,
            {static_cast<std::uint8_t>(page & 0xFF), static_cast<std::uint8_t>(page >> 8)}};
}
const Frame kAcknowledgement{kUpdateGroup, kUpdateStartId, {}};

class SimBootloader : public ::testing::Test {
protected:
    void SetUp() override { control->SetEraseTime(100ms); }

    Frames Send(std::uint8_t msgId, const Bytes& payload) {
        board->Receive(EncodeFrame(kUpdateGroup, msgId, payload), now);
        return FrameDecoder().Feed(board->TakeOutput());
    }
    Frames Start(std::uint16_t pages) {
        return Send(kUpdateStartId,
                    {static_cast<std::uint8_t>(pages), static_cast<std::uint8_t>(pages >> 8)});
    }
    Frames Wait(Clock::duration time) {
        now += time;
        board->RunDue(now);
        return FrameDecoder().Feed(board->TakeOutput());
    }
    // Page k: its number, a zero, then 1024 bytes of value fill.
    Frames Page(std::uint16_t k, std::uint8_t fill, std::size_t size = kFlashPageSize) {
        Bytes payload{static_cast<std::uint8_t>(k & 0xFF), static_cast<std::uint8_t>(k >> 8)};
        payload.resize(2 + size, fill);
        return Send(kUpdatePageId, payload);
    }

    std::shared_ptr<BootloaderControl> control = std::make_shared<BootloaderControl>();
    std::unique_ptr<Board> board = MakeBoard("Helicopter", kStart, control);
    Clock::time_point now = kStart;
};

TEST_F(SimBootloader, ErasesThenAsksForEveryPageInOrderAndAssemblesTheImage) {
    EXPECT_EQ(Start(2), Frames{kAcknowledgement});
    EXPECT_TRUE(Wait(99ms).empty());
    EXPECT_EQ(Wait(1ms), Frames{PageRequest(0)});
    EXPECT_TRUE(Wait(1s).empty());
    EXPECT_EQ(Page(0, 0xA1), Frames{PageRequest(1)});
    EXPECT_EQ(control->CompletedUpdates(), 0);
    EXPECT_EQ(Page(1, 0xB2), Frames{PageRequest(2)});
    EXPECT_EQ(control->CompletedUpdates(), 1);
    Bytes expected(1024, 0xA1);
    expected.resize(2048, 0xB2);
    EXPECT_EQ(control->ReceivedImage(), expected);
}

TEST_F(SimBootloader, PagesWithAWrongNumberOrLengthAreAskedForAgain) {
    Start(2);
    Wait(100ms);
    EXPECT_EQ(Page(1, 0), Frames{PageRequest(0)});
    EXPECT_EQ(Page(0, 0, 1000), Frames{PageRequest(0)});
    EXPECT_EQ(control->RejectedPages(), 2);
    EXPECT_EQ(Page(0, 0), Frames{PageRequest(1)});
}

TEST_F(SimBootloader, FaultsOnDemand) {
    control->SetFault(Fault::RequestBeyondImage, 0, 0x0105);
    Start(5);
    Wait(100ms);
    EXPECT_EQ(Page(0, 0), Frames{PageRequest(0x0105)});

    control->SetFault(Fault::RepeatRequest, 0);
    Start(2);
    Wait(100ms);
    EXPECT_EQ(Page(0, 1), Frames{PageRequest(0)});
    EXPECT_EQ(Page(0, 2), Frames{PageRequest(1)});
    EXPECT_EQ(Page(1, 3), Frames{PageRequest(2)});
    EXPECT_EQ(control->ReceivedImage()[0], 2);

    control->SetFault(Fault::SilentMidTransfer, 0);
    Start(2);
    Wait(100ms);
    EXPECT_TRUE(Page(0, 0).empty());
    EXPECT_TRUE(Wait(10s).empty());

    control->SetFault(Fault::EraseNeverEnds);
    EXPECT_EQ(Start(2), Frames{kAcknowledgement});
    EXPECT_TRUE(Wait(60s).empty());
    EXPECT_EQ(control->Starts(), 4);
}

TEST(LinePacer, BytesCrossOneAfterAnotherAtTheLineRate) {
    using std::chrono::microseconds;
    LinePacer line(100000);  // 100 µs a byte
    const Clock::time_point t{};
    line.Put(10, t);
    EXPECT_EQ(line.Crossing(t), 10u);
    EXPECT_EQ(line.Crossing(t + microseconds(150)), 9u);
    EXPECT_EQ(line.NextCrossed(t + microseconds(150)), t + microseconds(200));
    // Bytes put while others cross wait for them; a late look loses no time.
    line.Put(5, t + microseconds(500));
    EXPECT_EQ(line.Crossing(t + microseconds(500)), 10u);
    EXPECT_EQ(line.Crossing(t + microseconds(1500)), 0u);
    // After a pause the line starts afresh.
    line.Put(1, t + microseconds(5000));
    EXPECT_EQ(line.NextCrossed(t + microseconds(5000)), t + microseconds(5100));
    EXPECT_EQ(LinePacer().Crossing(t), 0u);
}

}  // namespace
}  // namespace zephran::sim
