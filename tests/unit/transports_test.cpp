// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "recording/replay_link.h"
#include "support/fake_link.h"

namespace zephran {
namespace {

using testing::FakeLink;

TEST(SerialLink, ForwardsToTheTransportOfTheOpenPort) {
    FakeLink link;
    link.AddDevice("/dev/ttyUSB0");
    link.AddDevice("/dev/ttyUSB1");
    link.refused["/dev/ttyUSB1"] = OpenFailure::PermissionDenied;
    const std::uint8_t byte = 7;
    EXPECT_FALSE(link.Write(&byte, 1));  // nothing open yet
    EXPECT_EQ(link.OpenName(), "");

    ASSERT_TRUE(link.Open(1, "/dev/ttyUSB0", 57600));
    EXPECT_EQ(link.OpenName(), "/dev/ttyUSB0");
    EXPECT_EQ(link.openBaud, 57600u);
    EXPECT_TRUE(link.Write(&byte, 1));
    const std::vector<std::uint8_t> tooLong(Transport::kWriteBufferSize + 1);
    EXPECT_FALSE(link.Write(tooLong.data(), tooLong.size()));

    // Another port replaces the one open; refused, it leaves none open and says why.
    EXPECT_FALSE(link.Open(2, "/dev/ttyUSB1", 57600));
    EXPECT_EQ(link.LastFailure(), OpenFailure::PermissionDenied);
    EXPECT_EQ(link.OpenName(), "");
    EXPECT_FALSE(link.Write(&byte, 1));
    EXPECT_EQ(link.written.size(), 1u);
}

TEST(SerialLink, EventsQueuedBeforeACloseAreStillTaken) {
    FakeLink link;
    link.AddDevice("/dev/ttyUSB0");
    ASSERT_TRUE(link.Open(1, "/dev/ttyUSB0", 115200));
    link.Receive({1, 2, 3});
    link.Close();
    EXPECT_EQ(link.OpenName(), "");
    const auto events = link.TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(ReplayLink, AsATransportReceivesTheFramesDueAndSendsNothing) {
    VirtualClock clock;
    ReplayLink replay{clock};
    EXPECT_FALSE(replay.Open(115200));
    EXPECT_EQ(replay.LastFailure(), OpenFailure::NoSuchDevice);

    Recording recording;
    recording.records.resize(10);
    replay.Load("/logs/flight.dat", std::move(recording));
    EXPECT_TRUE(replay.Open(115200));
    EXPECT_EQ(replay.LastFailure(), OpenFailure::None);
    EXPECT_EQ(replay.Name(), "/logs/flight.dat");
    const std::uint8_t byte = 0;
    EXPECT_FALSE(replay.Write(&byte, 1));

    EXPECT_TRUE(replay.TakeEvents().empty());  // paused
    replay.Play(clock.SteadyMs());
    clock.AdvanceTo(clock.SteadyMs() + 40);  // 1×: two records, an AHRS live frame each
    const auto events = replay.TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, PortEvent::Kind::Received);
    EXPECT_EQ(events[0].bytes.size(), 2u * (8 + 49));
    EXPECT_TRUE(replay.TakeEvents().empty());  // nothing new is due
    replay.Close();
    EXPECT_FALSE(replay.Playing());
}

}  // namespace
}  // namespace zephran
