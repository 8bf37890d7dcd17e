// A simulated AHRS board that misbehaves on command, against the whole program through the
// headless front end: each fault is survived with the messages it deserves and no more.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"

namespace zephran::test {
namespace {

using sim::Fault;
using sim::FaultKind;
using S = CDlgAHRSSetting;
using Cal = CDlgSensorCalibrate;

constexpr const char* kRead = "Read AHRS Parameters";
constexpr const char* kTimeOutMessage = "message: Read AHRS Parameters timed out";

class MisbehavingBoard : public HeadlessBoardTest {
protected:
    void SetUp() override {
        HeadlessBoardTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(Connect("AHRS", "AHRS"));
        Run("page AHRS_Set");
    }

    std::size_t CountInTranscript(const std::string& text) {
        const Lines& lines = app_->Transcript();
        return static_cast<std::size_t>(
            std::count_if(lines.begin(), lines.end(),
                          [&](const std::string& line) { return line.starts_with(text); }));
    }

    // Lets time pass until the traffic log has taken line, for at most timeout.
    bool WaitForTraffic(const std::string& line, std::chrono::milliseconds timeout) {
        const auto deadline = steady_clock::now() + timeout;
        while (CountInTraffic(line) == 0) {
            if (steady_clock::now() >= deadline) return false;
            Run("wait 50");
        }
        return true;
    }

    std::size_t CountInTraffic(const std::string& line) {
        const Lines& traffic = Traffic();
        return static_cast<std::size_t>(std::count(traffic.begin(), traffic.end(), line));
    }

    // Fills the boxes with values the board never sends, so a reply shows in them.
    void Scribble() {
        for (int id : {S::kGyroNoise, S::kAccNoise, S::kCompassNoise})
            Set(id, "7");
    }
    bool BoxesShowTheBoard() {
        return app_->Get(S::kGyroNoise) == "1e-07" && app_->Get(S::kAccNoise) == "1e-05" &&
               app_->Get(S::kCompassNoise) == "1e-07";
    }

    // The frames the program has dispatched: the number in the RX pane.
    std::uint64_t Dispatched() {
        const std::string pane = app_->Pane(3);
        return std::stoull(pane.substr(pane.rfind(' ') + 1));
    }

    // Holds the board still for a moment and reads what it wrote and what the program
    // dispatched while nothing moves.
    std::pair<std::uint64_t, std::uint64_t> QuietCounts() {
        board_.Misbehave({.kind = FaultKind::Stall, .time = std::chrono::milliseconds(800)});
        Run("wait 400");
        return {board_.FramesWritten(), Dispatched()};
    }
};

class LostReply : public MisbehavingBoard, public ::testing::WithParamInterface<FaultKind> {};

TEST_P(LostReply, TimesOutOnceAndTheNextRequestIsAnswered) {
    Scribble();
    board_.Misbehave({.kind = GetParam()});
    Send(S::kRead, kRead);
    Run("wait 1600");
    EXPECT_EQ(CountInTranscript(kTimeOutMessage), 1u);
    EXPECT_EQ(CountInTraffic(std::string(kRead) + " time-out"), 1u);
    EXPECT_EQ(CountInTraffic(std::string(kRead) + " OK"), 0u);
    EXPECT_EQ(app_->Get(S::kGyroNoise), "7");

    Ask(S::kRead, kRead);
    EXPECT_TRUE(BoxesShowTheBoard());
    Run("wait 1200");
    EXPECT_EQ(CountInTranscript("message: "), 1u);
    EXPECT_EQ(CountInTraffic(std::string(kRead) + " time-out"), 1u);
}

INSTANTIATE_TEST_SUITE_P(DroppedOrCorrupted, LostReply,
                         ::testing::Values(FaultKind::DropReply, FaultKind::CorruptCrc),
                         [](const ::testing::TestParamInfo<FaultKind>& info) {
                             return info.param == FaultKind::DropReply ? "Dropped" : "BadCrc";
                         });

TEST_F(MisbehavingBoard, ReplyAnsweredTwiceIsTakenWithoutDoubleEffect) {
    Run("page AHRS_Cal");
    board_.Misbehave({.kind = FaultKind::AnswerTwice});
    Ask(Cal::kAccToggle, "Start Acc Cal");
    Run("wait 200");
    // Both frames reached the page; the calibration runs, it is not toggled back.
    EXPECT_EQ(CountInTraffic("Start Acc Cal OK"), 2u);
    EXPECT_EQ(app_->Get(Cal::kAccToggle), "Stop Calibration");
    ExpectNoTimeOut();
    Ask(Cal::kAccToggle, "Stop Acc Cal");
    EXPECT_EQ(app_->Get(Cal::kAccToggle), "Start Calibration");
}

TEST_F(MisbehavingBoard, LateReplyWithinTheTimeOutIsSimplyAnswered) {
    Scribble();
    board_.Misbehave({.kind = FaultKind::AnswerLate, .time = std::chrono::milliseconds(400)});
    Ask(S::kRead, kRead);
    EXPECT_TRUE(BoxesShowTheBoard());
    ExpectNoTimeOut();
}

TEST_F(MisbehavingBoard, ReplyAfterTheTimeOutIsShownWithoutASecondMessage) {
    Scribble();
    board_.Misbehave({.kind = FaultKind::AnswerLate, .time = std::chrono::milliseconds(1800)});
    Send(S::kRead, kRead);
    ASSERT_TRUE(WaitForTraffic(std::string(kRead) + " OK", std::chrono::seconds(4)));
    EXPECT_TRUE(BoxesShowTheBoard());
    Run("wait 1200");
    EXPECT_EQ(CountInTranscript("message: "), 1u);
    EXPECT_EQ(CountInTranscript(kTimeOutMessage), 1u);
}

TEST_F(MisbehavingBoard, StalledBoardTimesOutOnceThenAnswersWhatWaited) {
    Scribble();
    board_.Misbehave({.kind = FaultKind::Stall, .time = std::chrono::milliseconds(1800)});
    Run("wait 50");
    const std::uint64_t before = Dispatched();
    Send(S::kRead, kRead);
    ASSERT_TRUE(WaitForTraffic(std::string(kRead) + " OK", std::chrono::seconds(4)));
    EXPECT_TRUE(BoxesShowTheBoard());
    EXPECT_EQ(CountInTranscript("message: "), 1u);
    EXPECT_EQ(CountInTranscript(kTimeOutMessage), 1u);
    // The live stream goes on after the stall.
    Run("wait 300");
    EXPECT_GT(Dispatched(), before + 5);
}

TEST_F(MisbehavingBoard, EveryGoodFrameAmongGarbageIsDispatched) {
    const auto [written, dispatched] = QuietCounts();
    board_.Misbehave({.kind = FaultKind::Garbage, .frames = 120, .bytes = 37});
    Run("wait 500");
    Ask(S::kRead, kRead);
    EXPECT_TRUE(BoxesShowTheBoard());
    Run("wait 2500");
    const auto [writtenAfter, dispatchedAfter] = QuietCounts();
    EXPECT_GE(writtenAfter - written, 120u);
    EXPECT_EQ(dispatchedAfter - dispatched, writtenAfter - written);
    ExpectNoTimeOut();
}

TEST_F(MisbehavingBoard, FramesSplitIntoSingleBytesWithGapsAreDispatched) {
    const auto [written, dispatched] = QuietCounts();
    board_.Misbehave(
        {.kind = FaultKind::SplitBytes, .time = std::chrono::milliseconds(1), .frames = 20});
    Ask(S::kRead, kRead);
    EXPECT_TRUE(BoxesShowTheBoard());
    Run("wait 1500");
    const auto [writtenAfter, dispatchedAfter] = QuietCounts();
    EXPECT_GE(writtenAfter - written, 20u);
    EXPECT_EQ(dispatchedAfter - dispatched, writtenAfter - written);
    ExpectNoTimeOut();
}

TEST_F(MisbehavingBoard, BoardThatVanishesMidStreamIsNoticed) {
    board_.Misbehave({.kind = FaultKind::Vanish});
    EXPECT_TRUE(app_->WaitUntil("status", "Connection lost: COM1", std::chrono::seconds(10)));
    // No longer taken for connected. Asked at once: a later scan may open another board that
    // got the vanished pty's number meanwhile.
    Run("click " + std::to_string(S::kRead));
    EXPECT_TRUE(Contains(app_->Transcript(), "message: No board connected."))
        << ::testing::PrintToString(app_->Transcript());
    // The program goes on.
    Run("wait 1200");
    Run("status");
}

}  // namespace
}  // namespace zephran::test
