// The headless front end over a script, with no serial port at all.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/headless_driver.h"

namespace zephran::test {
namespace {

class HeadlessScript : public HeadlessTest {
protected:
    Lines Run(const std::string& input, int expectedExit = 0) {
        int exitCode = -1;
        Lines lines = RunScript(Arguments({"/nonexistent/zephran-port"}, {"--virtual-time"}), input,
                                exitCode);
        EXPECT_EQ(exitCode, expectedExit);
        return lines;
    }
};

TEST_F(HeadlessScript, VirtualWaitReturnsAtOnceAndQuitEndsTheInput) {
    Configure("Auto", 1, "Vantrel");
    const auto start = std::chrono::steady_clock::now();
    const Lines lines = Run("# start-up\n\nwait 2500\r\nwait 60000\nquit\nstatus\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // No port was found, so the start-up says so; comments and blank lines get no answer.
    EXPECT_EQ(lines, (Lines{"message: No UartPort Dectect", "ok", "ok", "ok"}));
}

TEST_F(HeadlessScript, EndOfInputEndsLikeQuitAfterTheLastLine) {
    Configure("Auto", 1, "Vantrel");
    const Lines lines = Run("get 1013\nstatus\nstatus tips\ntitle");
    EXPECT_EQ(lines,
              (Lines{"message: No UartPort Dectect",
                     "1013=",
                     "ok",
                     "pane 0: Searching for board...",
                     "pane 1: ",
                     "pane 2: 115200",
                     "pane 3: RX 0",
                     "pane 4: TX 0",
                     "pane 5: ",
                     "progress: 0",
                     "ok",
                     "tip 0: Connection and activity: the search for the board, the connection, "
                     "and live data rates",
                     "tip 1: The serial port in use",
                     "tip 2: The PC's baud rate",
                     "tip 3: Frames received from the board with a valid checksum",
                     "tip 4: Requests sent to the board, including those stopped because no "
                     "board was connected",
                     "tip 5: Requests waiting for the board's reply: how long the oldest has "
                     "waited (during a firmware update, how far it has got)",
                     "ok",
                     "title: ZephranFPV V3.5 — no port open",
                     "ok"}));
}

// A drop-down answers get with the entry it shows; the language dialog shows the language in use.
TEST_F(HeadlessScript, DropDownsShowTheirSelectedEntry) {
    Configure("Manual", 1, "AHRS");
    const Lines lines =
        Run("page Analyz\nget 1502\nchoose 1502 2\nget 1502\nget 1511\nmenu 131\nget 1101\n");
    // The menu command's own answer comes when its modal window ends, at the end of the input.
    const Lines expected{"1502=None",    "ok",      "ok", "1502=AHRS",
                         "ok",           "1511=1x", "ok", "modal: Language",
                         "1101=english", "ok",      "ok"};
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(Lines(lines.end() - static_cast<std::ptrdiff_t>(expected.size()), lines.end()),
              expected);
}

TEST_F(HeadlessScript, BadCommandsAndIdsAreAnsweredWithErrors) {
    // A product outside the table leaves no page on screen.
    Configure("Auto", 1, "Nowhere");
    const Lines lines =
        Run("bogus 1\n"
            "click\n"
            "click abc\n"
            "click 4242\n"
            "page Nowhere\n"
            "page Update_FirmwareUpdate extra\n"
            "page Update_FirmwareUpdate\n"
            "click 4242\n"
            "set\n"
            "set 4242 text\n"
            "choose 4242\n"
            "release -3\n"
            "menu 99999\n"
            "menu COM1\n"
            "wait -5\n"
            "wait 86400001\n"
            "get 4242\n"
            "status now\n"
            "title now\n"
            "file\n"
            "menu 57664\n");
    EXPECT_EQ(lines, (Lines{
                         "message: No UartPort Dectect",
                         "error: unknown command bogus",
                         "error: usage: click ID",
                         "error: usage: click ID",
                         "error: no page is shown",
                         "error: no tree node Nowhere",
                         "error: usage: page KEY",
                         "ok",
                         "error: no control 4242",
                         "error: usage: set ID TEXT",
                         "error: no control 4242",
                         "error: usage: choose ID INDEX",
                         "error: usage: release ID",
                         "error: no menu item 99999",
                         "error: usage: menu COMMAND",
                         "error: usage: wait MS (0 to 86400000)",
                         "error: usage: wait MS (0 to 86400000)",
                         "error: no control 4242",
                         "error: usage: status [tips]",
                         "error: usage: title",
                         "error: usage: file PATH",
                         "open url: https://www.zephranfpv.com/",
                         "ok",
                     }));
}

// A write with a bad box shows the standard message, sends nothing (no board is there to be
// asked for) and leaves the focus on that box with its text selected.
TEST_F(HeadlessScript, ARefusedBoxHasTheFocusWithItsTextSelected) {
    Configure("Auto", 1, "AHRS");
    const Lines lines =
        Run("page AHRS_Set\nfocus\nset 1016 lots\nfocus\nclick 1178\nfocus\nfocus now\n"
            "set 1016 0.5\nfocus\n");
    EXPECT_EQ(lines,
              (Lines{"message: No UartPort Dectect", "ok", "focus: none", "ok", "ok", "focus: 1016",
                     "ok", "message: Enter a number.", "ok", "focus: 1016, text selected", "ok",
                     "error: usage: focus", "ok", "focus: 1016", "ok"}));
}

}  // namespace
}  // namespace zephran::test
