// Finding and keeping the board, through the headless front end, over ptys: plain ptys that
// nothing answers on and simulated boards.
#include <gtest/gtest.h>

#include "headless_driver.h"
#include "pty_pair.h"
#include "sim/virtual_board.h"

namespace zephran::test {
namespace {

const std::string kBoardText = "ZephranFPV AHRS board, firmware 3.5\\r\\n";

class HeadlessScan : public HeadlessTest {};

TEST_F(HeadlessScan, FindsTheBoardOnTheThirdPortInTheThirdSecond) {
    Configure("Auto", 1, "AHRS");
    PtyPair first;
    PtyPair second;
    ASSERT_TRUE(first.IsValid() && second.IsValid());
    sim::VirtualBoard board;
    const std::string boardPort = appDir_.File("board");
    ASSERT_TRUE(board.Start("AHRS", boardPort)) << board.LastError();
    HeadlessDriver app(Arguments({first.SlavePath(), second.SlavePath(), boardPort}));

    // The title follows the scan: the port tried, and whether the board has answered on it.
    EXPECT_EQ(app.Pane(0), "Searching for board...");
    EXPECT_EQ(app.Pane(1), "");
    EXPECT_EQ(app.Listing("title"), Lines{"title: ZephranFPV V3.5 — no port open"});
    app.Command("wait 2500");
    EXPECT_EQ(app.Pane(1), "COM2");
    EXPECT_EQ(app.Pane(0), "Searching for board...");
    EXPECT_EQ(app.Listing("title"), Lines{"title: ZephranFPV V3.5 — COM2 " + second.SlavePath() +
                                          " — waiting for the board"});
    app.Command("wait 1000");
    EXPECT_EQ(app.Pane(1), "COM3");
    EXPECT_EQ(app.Pane(0), "Board connected");
    EXPECT_EQ(app.Listing("title"), Lines{"title: ZephranFPV V3.5 — COM3 " + boardPort});
    EXPECT_EQ(app.Listing("log"),
              (Lines{"**Connect**", "**Connect**", "**Connect**", "Connect OK"}));
    EXPECT_TRUE(app.WaitUntil("get 1013", "1013=" + kBoardText, 3s));

    // Connected, the scan stays on the board's port and pane 0 shows the attitude rate.
    app.Command("wait 1200");
    EXPECT_EQ(app.Pane(1), "COM3");
    const std::string rate = app.Pane(0);
    EXPECT_TRUE(rate.starts_with("AHRS ") && rate.ends_with(" Hz")) << rate;
}

class HeadlessManual : public HeadlessTest {};

TEST_F(HeadlessManual, OpensTheChosenPortAndConnects) {
    Configure("Manual", 2, "Vantrel");
    PtyPair silent;
    ASSERT_TRUE(silent.IsValid());
    sim::VirtualBoard board;
    const std::string boardPort = appDir_.File("board");
    ASSERT_TRUE(board.Start("Vantrel", boardPort)) << board.LastError();
    HeadlessDriver app(Arguments({silent.SlavePath(), boardPort}));

    // Manual mode asks for a port and opens nothing by itself.
    EXPECT_TRUE(Contains(app.Command("status"),
                         "message: Manual port mode: choose the board's COM port under "
                         "Connection > Port."));
    app.Command("wait 1200");
    EXPECT_EQ(app.Pane(0), "Manual port mode");
    EXPECT_EQ(app.Pane(1), "");

    app.Command("menu 1240");
    EXPECT_EQ(app.Pane(1), "COM2");
    EXPECT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 2s));

    // A port item writes its number and opens that port; the silent one gets the connect
    // request again every second (the texts applied after the opening emptied the log).
    app.Command("menu 1453");
    EXPECT_EQ(app.Pane(1), "COM1");
    app.Command("wait 2100");
    EXPECT_EQ(app.Listing("log"), (Lines{"**Connect**", "**Connect**"}));
    EXPECT_NE(app.Pane(0), "Board connected");
    app.Command("menu 1454");
    EXPECT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 2s));
    EXPECT_NE(appDir_.Read("Config.ini").find("Com=2"), std::string::npos);
}

TEST_F(HeadlessManual, APortNumberWithoutADeviceGivesTheOpenError) {
    Configure("Manual", 7, "Vantrel");
    PtyPair only;
    ASSERT_TRUE(only.IsValid());
    HeadlessDriver app(Arguments({only.SlavePath()}));
    app.Command("status");

    EXPECT_EQ(app.Command("menu 1240"), (Lines{"message: Open com port 7 Err", "ok"}));
    // Nothing was opened, and nothing is tried later.
    app.Command("wait 1200");
    EXPECT_EQ(app.Pane(1), "");
    EXPECT_TRUE(app.Listing("log").empty());
}

class HeadlessTimeout : public HeadlessTest {};

TEST_F(HeadlessTimeout, ARequestTheBoardIgnoresTimesOutAfterASecond) {
    // The AHRS menu in front of an OSD board, which does not know the AHRS options.
    Configure("Auto", 1, "AHRS");
    sim::VirtualBoard board;
    const std::string boardPort = appDir_.File("board");
    ASSERT_TRUE(board.Start("Vantrel", boardPort)) << board.LastError();
    HeadlessDriver app(Arguments({boardPort}));
    ASSERT_TRUE(app.WaitUntil("log", "Connect OK", 3s));

    EXPECT_EQ(app.Command("menu 1211"), (Lines{"ok"}));
    Lines seen = app.Command("wait 700");
    EXPECT_FALSE(Contains(seen, "timed out"));
    const Lines status = app.Command("status");
    EXPECT_FALSE(Contains(status, "progress: 0"));
    EXPECT_TRUE(Contains(status, "progress: 7") || Contains(status, "progress: 8"));

    seen = app.Command("wait 600");
    EXPECT_TRUE(Contains(seen, "message: Set Output Rate timed out: no reply from the board."));
    const Lines log = app.Listing("log");
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "**Set Output Rate**");
    EXPECT_EQ(log.back(), "Set Output Rate time-out");
    EXPECT_TRUE(Contains(app.Command("status"), "progress: 0"));
}

class HeadlessReplug : public HeadlessTest {
protected:
    const std::string boardPort_ = appDir_.File("board");
    sim::VirtualBoard board_;
};

TEST_F(HeadlessReplug, ALostBoardIsReportedAndTheScanGoesOn) {
    Configure("Auto", 1, "Vantrel");
    PtyPair silent;
    ASSERT_TRUE(silent.IsValid());
    ASSERT_TRUE(board_.Start("Vantrel", boardPort_)) << board_.LastError();
    HeadlessDriver app(Arguments({silent.SlavePath(), boardPort_}));
    ASSERT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 4s));

    board_.Stop();
    EXPECT_TRUE(app.WaitUntil("status", "pane 0: Connection lost: COM2", 2s));
    app.Command("wait 1200");
    EXPECT_EQ(app.Pane(1), "COM1");

    // Back again, a fresh scan from the menu finds it.
    ASSERT_TRUE(board_.Start("Vantrel", boardPort_)) << board_.LastError();
    app.Command("menu 1239");
    EXPECT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 4s));
    EXPECT_EQ(app.Pane(1), "COM2");
}

// The board's port, missing at the rescan after the loss, counts as a new device when it comes
// back.
TEST_F(HeadlessReplug, ABoardPluggedBackInIsFoundByTheScan) {
    Configure("Auto", 1, "Vantrel");
    PtyPair silent;
    ASSERT_TRUE(silent.IsValid());
    ASSERT_TRUE(board_.Start("Vantrel", boardPort_)) << board_.LastError();
    HeadlessDriver app(Arguments({silent.SlavePath(), boardPort_}));
    ASSERT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 4s));
    board_.Stop();
    ASSERT_TRUE(app.WaitUntil("status", "pane 0: Connection lost: COM2", 2s));

    ASSERT_TRUE(board_.Start("Vantrel", boardPort_)) << board_.LastError();
    EXPECT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 5s));
    EXPECT_EQ(app.Pane(1), "COM2");
}

// With no port left after the loss, the scan keeps looking for arrivals.
TEST_F(HeadlessReplug, TheOnlyBoardPluggedBackInIsFoundByTheScan) {
    Configure("Auto", 1, "Vantrel");
    ASSERT_TRUE(board_.Start("Vantrel", boardPort_)) << board_.LastError();
    HeadlessDriver app(Arguments({boardPort_}));
    ASSERT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 3s));
    board_.Stop();
    ASSERT_TRUE(app.WaitUntil("status", "pane 0: Connection lost: COM1", 2s));

    ASSERT_TRUE(board_.Start("Vantrel", boardPort_)) << board_.LastError();
    EXPECT_TRUE(app.WaitUntil("status", "pane 0: Board connected", 5s));
}

}  // namespace
}  // namespace zephran::test
