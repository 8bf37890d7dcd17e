// The airplane PID pages through the headless front end, against a simulated Standard OSD
// board on a pty: each controller is read, written, read back and reset on the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "headless_board_test.h"
#include "pages/autopilot/dlg_airplane_outer_loop.h"
#include "pages/autopilot/dlg_airplane_pid_inner_loop.h"
#include "sim/autopilot_board.h"
#include "sim/virtual_board.h"
#include "ui/data_exchange.h"

namespace zephran::test {
namespace {

using P = CDlgAirplanePID;
using Texts = std::array<std::string, P::kFieldCount>;

// The ten boxes as the page shows a board's set.
Texts Shown(const sim::autopilot::PidSet& s) {
    const auto f = [](float v) { return ui::FormatFloat(v, 6); };
    return {f(s.totalP),     std::to_string(s.p), std::to_string(s.i), std::to_string(s.d),
            f(s.iThreshold), f(s.maxI),           f(s.inSlew),         f(s.outSlew),
            f(s.dp),         f(s.outMax)};
}

class HeadlessAutopilotPid : public HeadlessBoardTest {
protected:
    void Connect() { HeadlessBoardTest::Connect("Standard", "Standard"); }

    void SetAll(const P::Controller& c, const Texts& texts) {
        for (int f = 0; f < P::kFieldCount; ++f)
            Set(c.Box(static_cast<P::Field>(f)), texts[f]);
    }
    Texts Boxes(const P::Controller& c) {
        Texts texts;
        for (int f = 0; f < P::kFieldCount; ++f)
            texts[f] = app_->Get(c.Box(static_cast<P::Field>(f))).value_or("<no control>");
        return texts;
    }

    // Every controller of the page: the board's defaults, a write read back, the defaults again.
    void Exercise(const char* page, const P::Table& table, std::size_t firstSet,
                  const std::array<const char*, 6>& names) {
        ASSERT_NO_FATAL_FAILURE(Connect());
        Run(std::string("page ") + page);
        const Texts written{"2.25", "200", "17", "3", "0.125", "7.5", "1e+06", "-3", "42", "0.001"};
        for (std::size_t k = 0; k < 6; ++k) {
            const P::Controller& c = table.controllers[k];
            const std::string name = names[k];
            SCOPED_TRACE(name);
            const Texts factory = Shown(sim::autopilot::FactoryPidSet(firstSet + k));
            Ask(c.ReadButton(), "Read " + name);
            EXPECT_EQ(Boxes(c), factory);
            SetAll(c, written);
            Ask(c.WriteButton(), "Write " + name);
            SetAll(c, Texts{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
            Ask(c.ReadButton(), "Read " + name);
            EXPECT_EQ(Boxes(c), written);
            Ask(c.DefaultButton(), "Default " + name);
            Ask(c.ReadButton(), "Read " + name);
            EXPECT_EQ(Boxes(c), factory);
        }
        for (const std::string& line : app_->Transcript())
            EXPECT_FALSE(line.starts_with("message: ")) << line;
    }
};

TEST_F(HeadlessAutopilotPid, InnerLoopControllersAreWrittenReadBackAndReset) {
    Exercise("Airplane_PID_Inner", CDlgAirplanePIDInnerLoop::kTable, 0,
             {"Roll Rate PID", "Pitch Rate PID", "Yaw Rate PID", "Roll PID", "Pitch PID",
              "Heading-Rudder PID"});
}

TEST_F(HeadlessAutopilotPid, OuterLoopControllersAreWrittenReadBackAndReset) {
    Exercise("Airplane_PID_Outer", CDlgAirplaneOuterLoop::kTable, 6,
             {"Outer Heading-Rudder PID", "Heading-Roll PID", "Height PID", "Climb Rate PID",
              "Ground Speed PID", "Airspeed PID"});
}

}  // namespace
}  // namespace zephran::test
