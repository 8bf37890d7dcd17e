// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on a network address: the headless front end given tcp:// or rfc2217:// with
// --port, through socat and ser2net on 127.0.0.1 in front of a simulated AHRS board's pty.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "sim/misbehaviour.h"
#include "support/bridge_process.h"

namespace zephran::test {
namespace {

using namespace std::chrono_literals;
using S = CDlgAHRSSetting;
using testing::Bridge;
using testing::BridgeKind;
using testing::FindProgram;
using testing::ToolOf;
using testing::TtyBaud;

class HeadlessNetwork : public HeadlessBoardTest, public ::testing::WithParamInterface<BridgeKind> {
protected:
    void SetUp() override {
        HeadlessBoardTest::SetUp();
        const std::string program = FindProgram(ToolOf(GetParam()));
        if (program.empty()) GTEST_SKIP() << ToolOf(GetParam()) << " is not installed";
        Configure("Auto", 1, "AHRS");
        const auto slave = board_.Start("AHRS");
        ASSERT_TRUE(slave) << board_.LastError();
        // Held open by the test too, so the pty's rate can be read while the bridge has it.
        slaveFd_ = open(slave->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(slaveFd_, 0);
        bridge_.emplace(GetParam(), program, *slave, bridgeDir_.Path());
        ASSERT_TRUE(bridge_->Start()) << bridge_->Log();
        if (!ByHand()) {
            app_.emplace(Arguments({bridge_->Address()}));
            ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", 10s)) << bridge_->Log();
        }
    }
    // Whether the test names the bridge in the program itself rather than with --port.
    virtual bool ByHand() const { return false; }
    void TearDown() override {
        app_.reset();
        bridge_.reset();
        if (slaveFd_ >= 0) close(slaveFd_);
    }

    // Frames the board wrote and frames the program took, read in the middle of a stall of the
    // board, when everything written before it has arrived and nothing new is on its way.
    std::pair<std::uint64_t, std::uint64_t> FramesWhileStalled() {
        board_.Misbehave({.kind = sim::FaultKind::Stall, .time = 700ms});
        Run("wait 400");
        const std::uint64_t written = board_.FramesWritten();
        const std::string rx = app_->Pane(3);
        return {written, std::strtoull(rx.c_str() + rx.rfind(' ') + 1, nullptr, 10)};
    }

    bool Connected() {
        const Lines title = app_->Listing("title");
        return title.size() == 1 && title[0].find(bridge_->Address()) != std::string::npos &&
               title[0].find("waiting for the board") == std::string::npos;
    }

    testing::TempDir bridgeDir_;
    int slaveFd_ = -1;
    std::optional<Bridge> bridge_;
};

TEST_P(HeadlessNetwork, ReadsWritesAndStreamsWithoutLosingAFrame) {
    EXPECT_EQ(app_->Listing("title"), Lines{"title: ZephranFPV V3.5 — COM1 " + bridge_->Address()});
    Run("page AHRS_Set");
    Ask(S::kRead, "Read AHRS Parameters");
    Set(S::kGyroNoise, "2.5e-06");
    Send(S::kWrite, "Write AHRS Parameters");
    Set(S::kGyroNoise, "1");
    Ask(S::kRead, "Read AHRS Parameters");
    EXPECT_EQ(app_->Get(S::kGyroNoise), "2.5e-06");

    const auto [writtenBefore, takenBefore] = FramesWhileStalled();
    Run("wait 2500");
    const auto [writtenAfter, takenAfter] = FramesWhileStalled();
    EXPECT_GT(writtenAfter - writtenBefore, 100u);
    EXPECT_EQ(takenAfter - takenBefore, writtenAfter - writtenBefore);
    ExpectNoTimeOut();
}

TEST_P(HeadlessNetwork, ABridgeStoppedMidStreamIsALostPortAndFoundAgain) {
    bridge_->Stop();
    ASSERT_TRUE(app_->WaitUntil("status", "Connection lost: COM1", 5s));
    EXPECT_FALSE(Connected());
    bridge_->Start();
    bool back = false;
    for (int i = 0; i < 100 && !back; ++i) {
        back = Connected();
        if (!back) Run("wait 100");
    }
    EXPECT_TRUE(back) << app_->Pane(0);
}

// The address typed into the port dialog, in manual mode, with no port on the command line.
class HeadlessPortByHand : public HeadlessNetwork {
protected:
    bool ByHand() const override { return true; }
};

TEST_P(HeadlessPortByHand, ATypedAddressIsOpenedAndOfferedNextTime) {
    Configure("Manual", 1, "AHRS");
    app_.emplace(Arguments({"/nonexistent/tty"}));
    app_->Command("wait 100");  // past the manual mode's greeting
    EXPECT_EQ(app_->Command("text tcp://bridge"), Lines{"ok"});
    EXPECT_EQ(
        app_->Command("menu 1700"),
        (Lines{"text dialog: A serial device, tcp://HOST:PORT or rfc2217://HOST:PORT:",
               "message: \"tcp://bridge\" is not a port address: the port is missing", "ok"}));

    Run("text " + bridge_->Address());
    const Lines asked = app_->Command("menu 1700");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(),
              "text dialog: A serial device, tcp://HOST:PORT or rfc2217://HOST:PORT:");
    ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", 10s)) << bridge_->Log();
    EXPECT_EQ(app_->Listing("title"), Lines{"title: ZephranFPV V3.5 — COM2 " + bridge_->Address()});
    EXPECT_NE(appDir_.Read("Config.ini").find("Com=2"), std::string::npos);

    // Offered first the next time the dialog opens.
    EXPECT_EQ(app_->Command("menu 1700"),
              (Lines{"text dialog: A serial device, tcp://HOST:PORT or rfc2217://HOST:PORT: | " +
                         bridge_->Address(),
                     "ok"}));
}

// Only a bridge speaking RFC 2217 takes a rate from the program.
class HeadlessRfc2217 : public HeadlessNetwork {};

TEST_P(HeadlessRfc2217, ARateChangeReachesTheBridgesPort) {
    EXPECT_EQ(TtyBaud(slaveFd_), 115200u);
    Run("menu " + std::to_string(1198 + 9));  // the program's rate: 57600
    bool applied = false;
    for (int i = 0; i < 50 && !applied; ++i) {
        applied = TtyBaud(slaveFd_) == 57600u;
        if (!applied) Run("wait 100");
    }
    EXPECT_TRUE(applied) << TtyBaud(slaveFd_);
}

INSTANTIATE_TEST_SUITE_P(Socat, HeadlessPortByHand, ::testing::Values(BridgeKind::kSocat),
                         [](const auto&) { return "Raw"; });
INSTANTIATE_TEST_SUITE_P(Ser2net, HeadlessRfc2217, ::testing::Values(BridgeKind::kSer2netRfc2217),
                         [](const auto&) { return "Rfc2217"; });
INSTANTIATE_TEST_SUITE_P(Bridges, HeadlessNetwork,
                         ::testing::Values(BridgeKind::kSocat, BridgeKind::kSer2netRaw,
                                           BridgeKind::kSer2netRfc2217),
                         [](const ::testing::TestParamInfo<BridgeKind>& info) {
                             switch (info.param) {
                                 case BridgeKind::kSocat:
                                     return "Socat";
                                 case BridgeKind::kSer2netRaw:
                                     return "Ser2netRaw";
                                 case BridgeKind::kSer2netRfc2217:
                                     break;
                             }
                             return "Ser2netRfc2217";
                         });

}  // namespace
}  // namespace zephran::test
