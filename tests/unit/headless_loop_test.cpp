#include "frontends/headless/event_loop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/test_pipe.h"
#include "ui/timers.h"

namespace zephran::headless {
namespace {

using namespace std::chrono_literals;
using Tick = std::pair<int, std::int64_t>;  // timer id, clock at the tick

// The main dialog's side of the loop: a timer table on the loop's clock, and a record of when
// ticks fired and port events were taken.
class FakeDialog : public LoopClient {
public:
    void ProcessPortEvents() override { portEvents.push_back(clock->SteadyMs()); }
    std::optional<std::int64_t> NextTimerDue() override { return timers.NextDue(); }
    void RunDueTimers() override {
        timers.RunDue(clock->SteadyMs(), [this](int id) {
            ticks.emplace_back(id, clock->SteadyMs());
            if (onTick) onTick(id);
        });
    }
    int Count(int id) const {
        int count = 0;
        for (const Tick& tick : ticks)
            count += tick.first == id ? 1 : 0;
        return count;
    }

    const Clock* clock = nullptr;
    ui::TimerTable timers;
    std::vector<Tick> ticks;
    std::vector<std::int64_t> portEvents;
    std::function<void(int)> onTick;
};

class Loop {
public:
    explicit Loop(bool virtualTime) : loop(dialog, virtualTime) { dialog.clock = &loop.Time(); }
    FakeDialog dialog;
    EventLoop loop;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(HeadlessVirtualTime, WaitRunsEveryTickOnItsDueTimeWithoutSleeping) {
    Loop t(true);
    t.dialog.timers.SetTimer(1, 10, 0);
    t.dialog.timers.SetTimer(2, 1000, 0);
    const auto start = std::chrono::steady_clock::now();
    t.loop.Wait(2500);
    EXPECT_LT(SecondsSince(start), 0.5);
    EXPECT_EQ(t.loop.Time().SteadyMs(), 2500);
    EXPECT_EQ(t.dialog.Count(1), 250);
    EXPECT_EQ(t.dialog.Count(2), 2);
    for (const Tick& tick : t.dialog.ticks) {
        EXPECT_EQ(tick.second % (tick.first == 1 ? 10 : 1000), 0) << tick.first;
    }
    // The tick due at 2510 runs only once the clock gets there.
    t.loop.Wait(9);
    EXPECT_EQ(t.dialog.Count(1), 250);
    t.loop.Wait(1);
    EXPECT_EQ(t.dialog.Count(1), 251);
    EXPECT_EQ(t.dialog.ticks.back(), Tick(1, 2510));
}

TEST(HeadlessVirtualTime, PortEventsQueuedByATickAreTakenBeforeTheNextTick) {
    Loop t(true);
    t.dialog.timers.SetTimer(1, 10, 0);
    t.dialog.timers.SetTimer(2, 1000, 0);
    t.dialog.onTick = [&t](int id) {
        if (id == 2) t.loop.WakeUp();
    };
    t.loop.Wait(1500);
    EXPECT_EQ(t.dialog.portEvents, std::vector<std::int64_t>{1000});
}

TEST(HeadlessVirtualTime, TimeStandsStillWhileWaitingForInput) {
    Loop t(true);
    t.dialog.timers.SetTimer(1, 10, 0);
    testing::TestPipe input;
    ASSERT_TRUE(input.IsValid());
    std::thread writer([&] {
        t.loop.WakeUp();
        std::this_thread::sleep_for(100ms);
        EXPECT_TRUE(input.Write("x"));
    });
    char byte = 0;
    EXPECT_EQ(t.loop.ReadInput(input.ReadEnd(), &byte, 1), 1);
    writer.join();
    EXPECT_EQ(byte, 'x');
    EXPECT_TRUE(t.dialog.ticks.empty());
    EXPECT_EQ(t.dialog.portEvents, std::vector<std::int64_t>{0});
}

TEST(HeadlessRealTime, TimersRunWhileWaitingForInput) {
    Loop t(false);
    t.dialog.timers.SetTimer(1, 10, t.loop.Time().SteadyMs());
    testing::TestPipe input;
    ASSERT_TRUE(input.IsValid());
    std::thread writer([&] {
        std::this_thread::sleep_for(150ms);
        EXPECT_TRUE(input.Write("xy"));
    });
    char bytes[4] = {};
    EXPECT_EQ(t.loop.ReadInput(input.ReadEnd(), bytes, sizeof bytes), 2);
    writer.join();
    EXPECT_EQ(std::string(bytes, 2), "xy");
    EXPECT_GE(t.dialog.Count(1), 5);
}

TEST(HeadlessRealTime, ReadInputTakesWhatWaitsAndThenTheEnd) {
    Loop t(false);
    testing::TestPipe input;
    ASSERT_TRUE(input.IsValid());
    ASSERT_TRUE(input.Write("line\n"));
    input.CloseWriteEnd();
    char bytes[16] = {};
    EXPECT_EQ(t.loop.ReadInput(input.ReadEnd(), bytes, sizeof bytes), 5);
    EXPECT_EQ(std::string(bytes, 5), "line\n");
    EXPECT_EQ(t.loop.ReadInput(input.ReadEnd(), bytes, sizeof bytes), 0);
}

TEST(HeadlessRealTime, WaitLastsItsTimeAndTakesPortEventsAsTheyCome) {
    Loop t(false);
    const std::int64_t begin = t.loop.Time().SteadyMs();
    t.dialog.timers.SetTimer(1, 10, begin);
    std::thread port([&] {
        std::this_thread::sleep_for(50ms);
        t.loop.WakeUp();
    });
    t.loop.Wait(200);
    port.join();
    EXPECT_GE(t.loop.Time().SteadyMs() - begin, 200);
    EXPECT_GE(t.dialog.Count(1), 10);
    ASSERT_EQ(t.dialog.portEvents.size(), 1u);
    EXPECT_GE(t.dialog.portEvents[0] - begin, 50);
}

}  // namespace
}  // namespace zephran::headless
