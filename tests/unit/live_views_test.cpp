#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/ahrs/dlg_ahrs.h"
#include "support/fake_host.h"
#include "support/page_fixture.h"
#include "views/live_views.h"

namespace zephran::views {
namespace {

constexpr int kRedrawTimer = 3;

// Records what the live views ask of their front end.
class FakeViewsFrontEnd : public ViewsFrontEnd {
public:
    void ShowView(AttitudeView& view) override { calls.push_back("show " + Name(view)); }
    void DestroyView(AttitudeView& view) override { calls.push_back("destroy " + Name(view)); }
    void RedrawView(AttitudeView& view) override { calls.push_back("redraw " + Name(view)); }
    void RunScope(CDlgScope& scope) override {
        calls.push_back("scope");
        scope.InitDialog();
        if (onScope) onScope(scope);
    }
    void RefreshScope(CDlgScope&) override { ++scopeRefreshes; }

    static std::string Name(const AttitudeView& view) {
        return view.Kind() == ViewKind::Attitude ? "attitude" : "position";
    }

    std::vector<std::string> calls;
    int scopeRefreshes = 0;
    std::function<void(CDlgScope&)> onScope;
};

class LiveViewsTest : public ::testing::Test {
protected:
    LiveViewsTest() { views.SetFrontEnd(&frontEnd); }

    // Lets ms pass on the virtual clock, running the due ticks.
    void Advance(std::int64_t ms) {
        const std::int64_t target = clock.SteadyMs() + ms;
        for (auto next = timers.NextDue(); next && *next <= target; next = timers.NextDue()) {
            clock.AdvanceTo(*next);
            timers.RunDue(clock.SteadyMs(), [this](int id) { views.OnTimer(id); });
        }
        clock.AdvanceTo(target);
    }
    void Live(float roll, float pitch, float yaw) {
        live.roll = roll;
        live.pitch = pitch;
        live.yaw = yaw;
        views.OnLiveValues(true);
    }

    testing::FakeHost host;
    ui::TimerTable timers;
    VirtualClock clock;
    AhrsLiveRecord live{};
    LiveViews views{{host, timers, clock, live, kRedrawTimer, kTimerScope}};
    FakeViewsFrontEnd frontEnd;
};

TEST_F(LiveViewsTest, ASecondPressDoesNothing) {
    views.OpenAttitudeView();
    AttitudeView* first = views.View(ViewKind::Attitude);
    views.OpenAttitudeView();
    EXPECT_EQ(views.View(ViewKind::Attitude), first);
    EXPECT_EQ(frontEnd.calls, (std::vector<std::string>{"show attitude"}));
}

TEST_F(LiveViewsTest, OpeningOneViewClosesTheOther) {
    views.OpenAttitudeView();
    views.OpenPositionView();
    EXPECT_FALSE(views.IsOpen(ViewKind::Attitude));
    EXPECT_TRUE(views.IsOpen(ViewKind::Position));
    views.OpenPositionView();
    views.OpenAttitudeView();
    EXPECT_TRUE(views.IsOpen(ViewKind::Attitude));
    EXPECT_FALSE(views.IsOpen(ViewKind::Position));
    EXPECT_EQ(frontEnd.calls,
              (std::vector<std::string>{"show attitude", "destroy attitude", "show position",
                                        "destroy position", "show attitude"}));
    views.CloseView(ViewKind::Attitude);
    views.CloseView(ViewKind::Attitude);
    EXPECT_FALSE(views.IsOpen(ViewKind::Attitude));
    EXPECT_EQ(frontEnd.calls.back(), "destroy attitude");
}

TEST_F(LiveViewsTest, TheAttitudeIsWrittenOnlyWhileAViewIsOpen) {
    Live(10, 20, 30);
    views.OpenAttitudeView();
    AttitudeView& view = *views.View(ViewKind::Attitude);
    // A new view starts at zero and takes the next frame's values.
    EXPECT_EQ(view.Roll(), 0);
    Live(11, 21, 31);
    EXPECT_EQ(view.Roll(), 11);
    EXPECT_EQ(view.Pitch(), 21);
    EXPECT_EQ(view.Yaw(), 31);
    // Sensor values alone change the text, not the attitude.
    live.roll = 99;
    views.OnLiveValues(false);
    EXPECT_EQ(view.Roll(), 11);
}

TEST_F(LiveViewsTest, NothingWakesWhileNothingChanges) {
    EXPECT_FALSE(timers.NextDue());
    views.OpenAttitudeView();
    EXPECT_FALSE(timers.NextDue());
    // Frames that show nothing new cost nothing.
    Live(0, 0, 0);
    EXPECT_FALSE(timers.NextDue());
    Advance(100);
    EXPECT_EQ(views.RedrawCount(), 0);
}

TEST_F(LiveViewsTest, AtMostOneRedrawPerTick) {
    views.OpenAttitudeView();
    Live(1, 2, 3);
    Live(2, 3, 4);
    Live(3, 4, 5);
    ASSERT_TRUE(timers.IsRunning(kRedrawTimer));
    Advance(4);
    EXPECT_EQ(views.RedrawCount(), 0);
    Advance(1);
    EXPECT_EQ(views.RedrawCount(), 1);
    EXPECT_EQ(frontEnd.calls.back(), "redraw attitude");
    // Drawn: the timer stops until the next change.
    EXPECT_FALSE(timers.IsRunning(kRedrawTimer));
    Live(3, 4, 5);
    EXPECT_FALSE(timers.IsRunning(kRedrawTimer));
    live.gx = 7;
    views.OnLiveValues(false);
    Advance(5);
    EXPECT_EQ(views.RedrawCount(), 2);
}

TEST_F(LiveViewsTest, AClosedViewIsNotRedrawn) {
    views.OpenPositionView();
    Live(1, 2, 3);
    views.CloseView(ViewKind::Position);
    Advance(10);
    EXPECT_EQ(views.RedrawCount(), 0);
}

TEST_F(LiveViewsTest, HeadingButtonsActOnlyAsThePartsSay) {
    live.yaw = 123.5f;
    views.HeadingToYaw();
    EXPECT_EQ(views.HeadingReference(), 0);
    views.OpenPositionView();
    views.HeadingToYaw();
    EXPECT_EQ(views.HeadingReference(), 0);
    views.OpenAttitudeView();
    views.HeadingToYaw();
    EXPECT_EQ(views.HeadingReference(), 123.5f);
    // The view subtracts it and is drawn again.
    Live(0, 0, 100);
    EXPECT_FLOAT_EQ(views.View(ViewKind::Attitude)->RelativeYaw(), -23.5f);
    views.HeadingToZero();
    EXPECT_EQ(views.HeadingReference(), 0);
    EXPECT_FLOAT_EQ(views.View(ViewKind::Attitude)->RelativeYaw(), 100);
    Advance(5);
    EXPECT_EQ(views.RedrawCount(), 1);
    views.HeadingToYaw();
    EXPECT_TRUE(timers.IsRunning(kRedrawTimer));
}

TEST_F(LiveViewsTest, ZeroHeightResize) {
    views.OpenAttitudeView();
    views.ViewResized(ViewKind::Attitude, 200, 0);
    EXPECT_EQ(views.View(ViewKind::Attitude)->Current(), (ViewSize{200, 1}));
    views.ViewResized(ViewKind::Position, 0, 0);  // not open: nothing
}

TEST_F(LiveViewsTest, TheScopeSamplesEvery20MsWhileItIsOpen) {
    // Far past the 32-bit millisecond counter's wrap: time counts from the window's opening.
    clock.AdvanceTo(5'000'000'000'000);
    live.roll = 12.5f;
    live.mz = -3.0f;
    frontEnd.onScope = [&](CDlgScope& scope) {
        EXPECT_EQ(views.Scope(), &scope);
        EXPECT_EQ(scope.GetWindowText(), "Scope");
        EXPECT_EQ(scope.Trace(0).Name(), "Roll");
        EXPECT_EQ(scope.Trace(0).ValuePerDivision(), 100);
        EXPECT_EQ(scope.Trace(1).ValuePerDivision(), 50);
        EXPECT_EQ(scope.Trace(6).Unit(), "g");
        EXPECT_EQ(scope.Trace(9).Unit(), " ");
        EXPECT_EQ(scope.Trace(11).ValuePerDivision(), 150);
        EXPECT_EQ(scope.Trace(0).TimePerDivision(), 0.5);
        EXPECT_EQ(scope.Trace(0).ZeroNumerator(), 5);
        Advance(19);
        EXPECT_EQ(scope.Ticks(), 0);
        Advance(1);
        ASSERT_EQ(scope.Trace(0).Samples().size(), 1u);
        EXPECT_DOUBLE_EQ(scope.Trace(0).Samples()[0].time, 0.02);
        EXPECT_DOUBLE_EQ(scope.Trace(0).Samples()[0].value, 12.5);
        EXPECT_DOUBLE_EQ(scope.Trace(11).Readout(), -3.0);
        Advance(3000);
        // 2 s of samples per trace at 0.5 s a division, one every 20 ms.
        EXPECT_EQ(scope.Trace(0).Samples().size(), 101u);
        EXPECT_EQ(scope.Ticks(), 151);
        EXPECT_EQ(frontEnd.scopeRefreshes, 151);
        // A second press cannot open a second scope.
        views.OpenScope();
        views.CloseScope();
    };
    views.OpenScope();
    EXPECT_EQ(frontEnd.calls, (std::vector<std::string>{"scope"}));
    EXPECT_EQ(views.Scope(), nullptr);
    EXPECT_FALSE(timers.IsRunning(kTimerScope));
}

TEST_F(LiveViewsTest, WithoutAFrontEndTheScopeIsTheHostsModalWindow) {
    views.SetFrontEnd(nullptr);
    host.onModal = [&](ui::Window& window) {
        EXPECT_EQ(&window, views.Scope());
        Advance(40);
        EXPECT_EQ(views.Scope()->Ticks(), 2);
        // The traces have a nominal place, so pointer input works without a front end.
        EXPECT_TRUE(views.Scope()->Trace(0).HasGeometry());
        views.CloseScope();
    };
    views.OpenScope();
    EXPECT_EQ(views.Scope(), nullptr);
    // The views open and close without a front end too.
    views.OpenAttitudeView();
    Live(1, 1, 1);
    Advance(5);
    EXPECT_EQ(views.RedrawCount(), 1);
}

TEST(ScopeTraces, TableAndLookup) {
    EXPECT_EQ(kScopeTraces[2].name, "Yaw");
    EXPECT_EQ(kScopeTraces[2].offset, 9u);
    EXPECT_EQ(FindScopeTrace("roll"), 0);
    EXPECT_EQ(FindScopeTrace("MagZ"), 11);
    EXPECT_EQ(FindScopeTrace("11"), 11);
    EXPECT_EQ(FindScopeTrace("12"), -1);
    EXPECT_EQ(FindScopeTrace("Speed"), -1);
    AhrsLiveRecord live{};
    live.gy = 4.5f;
    EXPECT_EQ(LiveValueAt(live, 17), 4.5f);
    EXPECT_EQ(LiveValueAt(live, 47), 0.0f);
}

// Through the main window and the AHRS view's buttons.
class AhrsViewButtonsTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AHRS_View");
    }
    std::vector<std::uint8_t> LiveFrame(float roll, float pitch, float yaw) {
        testing::PayloadBuilder b;
        b.U8(1).Float(roll).Float(pitch).Float(yaw);
        for (int i = 0; i < 9; ++i)
            b.Float(static_cast<float>(i));
        return b.bytes;
    }
    LiveViews& Views() { return *dialog->Views(); }
};

TEST_F(AhrsViewButtonsTest, ButtonsOpenTheViewsAndLiveFramesReachThem) {
    Click(CDlgAHRS::kAttitudeView);
    Click(CDlgAHRS::kAttitudeView);
    ASSERT_TRUE(Views().IsOpen(ViewKind::Attitude));
    Receive(15, 1, LiveFrame(12.5f, -4, 170));
    const AttitudeView& view = *Views().View(ViewKind::Attitude);
    EXPECT_EQ(view.Roll(), 12.5f);
    EXPECT_EQ(view.Pitch(), -4);
    EXPECT_EQ(view.Yaw(), 170);
    Advance(5);
    EXPECT_EQ(Views().RedrawCount(), 1);
    Click(CDlgAHRS::kPositionView);
    EXPECT_FALSE(Views().IsOpen(ViewKind::Attitude));
    EXPECT_TRUE(Views().IsOpen(ViewKind::Position));
    // The position view takes the next frame's attitude; the heading button ignores it.
    Receive(15, 1, LiveFrame(1, 2, 3));
    EXPECT_EQ(Views().View(ViewKind::Position)->Yaw(), 3);
    Click(CDlgAHRS::kHeadingToYaw);
    EXPECT_EQ(Views().HeadingReference(), 0);
}

TEST_F(AhrsViewButtonsTest, TheScopeRunsModallyWhileFramesKeepArriving) {
    Receive(15, 1, LiveFrame(5, 6, 7));
    host.onModal = [&](ui::Window& window) {
        ASSERT_EQ(window.GetWindowText(), "Scope");
        auto& scope = static_cast<CDlgScope&>(window);
        Advance(100);
        EXPECT_EQ(scope.Trace(2).Samples().size(), 5u);
        EXPECT_EQ(scope.Trace(2).Readout(), 7);
        Receive(15, 1, LiveFrame(5, 6, -8));
        Advance(20);
        EXPECT_EQ(scope.Trace(2).Readout(), -8);
        // Pressing "vertical scale up" on the yaw trace, as a person would.
        const Triangle& up = scope.Trace(2).Geometry().buttons[kVerticalUp];
        scope.Trace(2).Press({up.apex.x, up.apex.y + 4});
        EXPECT_EQ(scope.Trace(2).ValuePerDivision(), 200);
        scope.Close();
    };
    Click(CDlgAHRS::kScope);
    EXPECT_EQ(Views().Scope(), nullptr);
}

}  // namespace
}  // namespace zephran::views
