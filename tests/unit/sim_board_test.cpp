#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/board.h"
#include "sim/link_control.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;
using Frames = std::vector<Frame>;

const Clock::time_point kStart{};
const Bytes kConnect{0x54, 0x4D, 0x0C, 0x01, 0x00, 0x00, 0x52, 0x90};

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Frames Decode(const Bytes& bytes) {
    return FrameDecoder().Feed(bytes);
}

TEST(SimBoardRegistry, RoutesRequestsToTheirHandlersAndIgnoresTheRest) {
    Board board("Test", "test board", kStart);
    board.Handle(15, 32, [](std::span<const std::uint8_t> request, Board& b) {
        b.Send(15, 32, request);
        b.Send(15, 33);
    });
    board.Handle(15, 34, [](std::span<const std::uint8_t>, Board&) {});

    // A request split across reads is answered once it is whole.
    const Bytes request = EncodeFrame(15, 32, Bytes{1, 2, 3});
    board.Receive({request.data(), 5}, kStart);
    EXPECT_TRUE(board.TakeOutput().empty());
    board.Receive({request.data() + 5, request.size() - 5}, kStart);
    EXPECT_EQ(Decode(board.TakeOutput()), (Frames{{15, 32, {1, 2, 3}}, {15, 33, {}}}));

    board.Receive(EncodeFrame(15, 34, {}), kStart);
    board.Receive(EncodeFrame(15, 26, {}), kStart);
    EXPECT_TRUE(board.TakeOutput().empty());
}

TEST(SimBoardSources, TickOncePerPeriodAndSkipWhatTheyMissed) {
    Board board("Test", "test board", kStart);
    int ticks = 0;
    const auto id = board.AddSource(100ms, [&](Board&) { ++ticks; });
    board.RunDue(kStart + 99ms);
    EXPECT_EQ(ticks, 0);
    board.RunDue(kStart + 100ms);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(board.NextDue(), kStart + 200ms);

    // Late by several periods: one tick, then a period from now.
    board.RunDue(kStart + 550ms);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(board.NextDue(), kStart + 650ms);

    board.SetSourcePeriod(id, 0ms);
    EXPECT_EQ(board.NextDue(), std::nullopt);
    board.RunDue(kStart + 10s);
    EXPECT_EQ(ticks, 2);
}

TEST(SimBoardSources, ATickMayAddSourcesAndPauseItself) {
    Board board("Test", "test board", kStart);
    int inner = 0;
    Board::SourceId outer = 0;
    outer = board.AddSource(10ms, [&](Board& b) {
        for (int i = 0; i < 64; ++i)
            b.AddSource(10ms, [&](Board&) { ++inner; });
        b.SetSourcePeriod(outer, 0ms);
    });
    for (const auto at : {10ms, 20ms, 30ms})
        board.RunDue(kStart + at);
    EXPECT_EQ(inner, 128);
}

class SimLinkControl : public ::testing::Test {
protected:
    Frames Request(std::uint8_t group, std::uint8_t msgId, const Bytes& payload) {
        board->Receive(EncodeFrame(group, msgId, payload), kStart);
        return Decode(board->TakeOutput());
    }
    // A board with link control and nothing else.
    std::unique_ptr<Board> board = [] {
        auto bare = std::make_unique<Board>("Test", "ZephranFPV AHRS board, firmware 3.5", kStart);
        InstallLinkControl(*bare);
        return bare;
    }();
};

TEST_F(SimLinkControl, ConnectIsAnsweredAndStartsTheTextStream) {
    EXPECT_EQ(board->NextDue(), std::nullopt);  // silent until connected
    board->Receive(kConnect, kStart + 500ms);
    const Bytes output = board->TakeOutput();
    EXPECT_EQ(Bytes(output.begin(), output.begin() + 8), kConnect);
    EXPECT_EQ(Decode(output),
              (Frames{{12, 1, {}}, {1, 0, Text("ZephranFPV AHRS board, firmware 3.5\r\n")}}));

    // Later connects are answered without the announcement.
    EXPECT_EQ(Request(12, 1, {}), (Frames{{12, 1, {}}}));

    EXPECT_EQ(board->NextDue(), kStart + 2500ms);
    board->RunDue(kStart + 2500ms);
    EXPECT_EQ(board->TakeOutput(),
              (Bytes{0x54, 0x4D, 0x01, 0x00, 0x0C, 0x00, 'u',  'p',  't',  'i',
                     'm',  'e',  ' ',  '2',  ' ',  's',  '\r', '\n', 0x19, 0x1D}));
    EXPECT_EQ(board->NextDue(), kStart + 4500ms);
}

TEST_F(SimLinkControl, BaudSwitchTakesCodesZeroToTwelveAndNothingElse) {
    board->Receive(EncodeFrame(12, 2, Bytes{5}), kStart);
    EXPECT_EQ(board->TakeOutput(), (Bytes{0x54, 0x4D, 0x0C, 0x02, 0x00, 0x00, 0xA2, 0x90}));
    EXPECT_EQ(board->BaudCode(), 5);
    EXPECT_EQ(Request(12, 2, Bytes{12}), (Frames{{12, 2, {}}}));
    for (const Bytes& bad : {Bytes{13}, Bytes{255}, Bytes{}, Bytes{3, 0}})
        EXPECT_TRUE(Request(12, 2, bad).empty());
    EXPECT_EQ(board->BaudCode(), 12);

    EXPECT_TRUE(Request(12, 3, {}).empty());
    EXPECT_TRUE(Request(15, 2, {}).empty());
    EXPECT_FALSE(board->Connected());
}

TEST(SimProducts, EveryProductAnswersAndAnnouncesItselfInOneShortFrame) {
    const std::vector<std::string_view> names(ProductNames().begin(), ProductNames().end());
    EXPECT_EQ(names, (std::vector<std::string_view>{"Vantrel", "Standard", "AAT", "AHRS", "GPSINS",
                                                    "Multicopter", "Helicopter"}));
    for (const std::string_view name : names) {
        auto board = MakeBoard(name, kStart);
        ASSERT_NE(board, nullptr) << name;
        board->Receive(kConnect, kStart);
        const Bytes output = board->TakeOutput();
        EXPECT_LE(output.size(), kConnect.size() + kMaxTextFrame) << name;
        EXPECT_EQ(Decode(output),
                  (Frames{{12, 1, {}}, {1, 0, Text(board->Description() + "\r\n")}}));
    }
    EXPECT_EQ(MakeBoard("ahrs", kStart), nullptr);

    Board board("Test", "test board", kStart);
    SendTextLine(board, std::string(100, 'x'));
    EXPECT_EQ(Decode(board.TakeOutput()), (Frames{{1, 0, Bytes(56, 'x')}}));
}

}  // namespace
}  // namespace zephran::sim
