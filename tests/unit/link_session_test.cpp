// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/link_session.h"

#include <gtest/gtest.h>

#include <cstring>

#include "link/messages.h"
#include "recording/replay_link.h"
#include "records/record_store.h"
#include "support/fake_host.h"
#include "support/fake_link.h"
#include "support/fake_texts.h"
#include "support/temp_dir.h"
#include "ui/list_box.h"

namespace zephran {
namespace {

using testing::FakeLink;
using Bytes = FakeLink::Bytes;

// A recording of count records at 1×, the navigation roll of record n being n degrees.
Recording RollRecording(int count) {
    Recording recording;
    for (int n = 0; n < count; ++n) {
        RecordSources sources;
        sources.navigation.roll = static_cast<float>(n);
        recording.records.push_back(BuildLiveRecord(sources));
    }
    return recording;
}

// A session over one fake device with a board, and a recording to play.
class LinkSessionTest : public ::testing::Test {
protected:
    LinkSessionTest() {
        auto owned = std::make_unique<FakeLink>();
        owned->AddDevice("/dev/ttyUSB0", true);
        link = owned.get();
        session = std::make_unique<LinkSession>(
            LinkSession::Services{settings, texts, host, statusBar, log, records, replay,
                                  [this] { return replay.Playing(); },
                                  [this](const std::string& text) { boardText = text; }},
            PortDirectoryOptions{}, std::move(owned));
        session->RegisterReplies();
    }

    void OpenBoard() {
        ASSERT_TRUE(session->Link().Open(1, "/dev/ttyUSB0", 115200));
        session->SetConnected(true);
    }
    void Receive(const Message& message, const Bytes& payload = {}) {
        link->Receive(FakeLink::Frame(message.group, message.msgId, payload));
        session->ProcessPortEvents();
    }

    testing::TempDir dir;
    SettingsFile settings{dir.File("Config.ini")};
    testing::FakeTexts texts;
    testing::FakeHost host;
    ui::StatusBarModel statusBar;
    ui::ListBoxModel lines;
    TrafficLog log{lines, texts};
    RecordStore records;
    VirtualClock clock;
    ReplayLink replay{clock};
    std::string boardText;
    FakeLink* link = nullptr;
    std::unique_ptr<LinkSession> session;
};

TEST_F(LinkSessionTest, SendWithoutABoardIsRefusedAndNotPending) {
    ASSERT_TRUE(session->Link().Open(1, "/dev/ttyUSB0", 115200));
    EXPECT_FALSE(session->Send(15, 5, 0, nullptr));
    EXPECT_TRUE(link->written.empty());
    EXPECT_TRUE(session->Pending().empty());
    EXPECT_EQ(host.messages.size(), 1u);
    // The connect request goes out without a board, and waits for nothing.
    EXPECT_TRUE(session->Send(kLinkControlGroup, kConnectRequestId, 0, nullptr));
    EXPECT_EQ(link->written.size(), 1u);
    EXPECT_TRUE(session->Pending().empty());
    EXPECT_EQ(session->TransmitCount(), 2u);
}

TEST_F(LinkSessionTest, SendWhileConnectedIsPendingUntilItsReply) {
    OpenBoard();
    EXPECT_TRUE(session->Send(15, 5, 0, nullptr));
    ASSERT_EQ(session->Pending().size(), 1u);
    EXPECT_EQ(link->written.back(), FakeLink::Frame(15, 5, {}));
    Receive(msg::DL_MINIAHRS_ACC_READ_CAL, Bytes(37));
    EXPECT_TRUE(session->Pending().empty());
    EXPECT_EQ(session->Dispatcher().ReceiveCount(), 1);

    // A closed port takes nothing, so nothing waits.
    session->Link().Close();
    EXPECT_FALSE(session->Send(15, 5, 0, nullptr));
    EXPECT_TRUE(session->Pending().empty());
}

TEST_F(LinkSessionTest, UnansweredRequestTimesOutOnce) {
    OpenBoard();
    std::vector<std::uint8_t> timedOut;
    session->onTimedOut = [&timedOut](std::uint8_t, std::uint8_t msgId, const std::string&) {
        timedOut.push_back(msgId);
    };
    session->Send(15, 5, 0, nullptr);
    for (int tick = 0; tick < 98; ++tick)
        session->OnPendingTimer();
    EXPECT_EQ(session->Pending().size(), 1u);
    EXPECT_TRUE(timedOut.empty());
    session->OnPendingTimer();
    session->OnPendingTimer();
    EXPECT_TRUE(session->Pending().empty());
    EXPECT_EQ(timedOut, std::vector<std::uint8_t>{5});
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(LinkSessionTest, LiveRepliesAreDroppedWhileARecordingPlays) {
    OpenBoard();
    std::vector<std::string> handled;
    session->Dispatcher().Route(msg::DL_ID_AHRS_DATE_COME,
                                [&handled](const ReceiveArea&) { handled.push_back("live"); });
    session->Dispatcher().Route(msg::DL_MINIAHRS_ACC_READ_CAL,
                                [&handled](const ReceiveArea&) { handled.push_back("param"); });
    Receive(msg::DL_ID_AHRS_DATE_COME, Bytes(49));
    EXPECT_EQ(session->Dispatcher().LiveCount(LiveStream::kAhrs), 1u);

    replay.Load("flight.dat", RollRecording(100));
    replay.Play(clock.SteadyMs());
    Receive(msg::DL_ID_AHRS_DATE_COME, Bytes(49));
    Receive(msg::DL_MINIAHRS_ACC_READ_CAL, Bytes(37));
    EXPECT_EQ(session->Dispatcher().LiveCount(LiveStream::kAhrs), 1u);
    EXPECT_EQ(handled, (std::vector<std::string>{"live", "param"}));

    replay.Pause();
    Receive(msg::DL_ID_AHRS_DATE_COME, Bytes(49));
    EXPECT_EQ(session->Dispatcher().LiveCount(LiveStream::kAhrs), 2u);
}

TEST_F(LinkSessionTest, ARecordingsFramesReachTheRecordsAtItsPace) {
    replay.Load("flight.dat", RollRecording(100));
    replay.Play(clock.SteadyMs());
    clock.AdvanceTo(clock.SteadyMs() + 100);  // 1×: five records
    session->OnPendingTimer();
    EXPECT_EQ(session->Dispatcher().LiveCount(LiveStream::kAhrs), 5u);
    const float roll = records.ahrsLive.roll;  // the record is packed
    EXPECT_EQ(roll, 4.0f);
    // Without a port: the recording needs none, and nothing was written.
    EXPECT_TRUE(link->written.empty());
    session->OnPendingTimer();
    EXPECT_EQ(session->Dispatcher().LiveCount(LiveStream::kAhrs), 5u);
}

TEST_F(LinkSessionTest, PortEventsReachTheirPlaces) {
    OpenBoard();
    std::vector<unsigned> lost;
    session->onPortLost = [&lost](unsigned number, const std::string&) { lost.push_back(number); };
    PortEvent error;
    error.kind = PortEvent::Kind::Error;
    error.step = "write()";
    error.text = "I/O error";
    link->events.push_back(error);
    PortEvent discarded;
    discarded.kind = PortEvent::Kind::Discarded;
    discarded.discarded = 300;
    link->events.push_back(discarded);
    link->Lose();
    session->ProcessPortEvents();
    EXPECT_EQ(lost, std::vector<unsigned>{1});
    EXPECT_EQ(session->DiscardedBytes(), 300u);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Application Error\nwrite(): I/O error"});
}

TEST_F(LinkSessionTest, BoardTextRunsOnAndStartsOverEverySeventhFrame) {
    OpenBoard();
    std::string said;
    for (int frame = 1; frame <= 6; ++frame) {
        Receive(Message{1, 0, "text"}, Bytes{'a', 0xE9});
        said += "a\u00e9";  // a byte above 127 is its Latin-1 character
    }
    EXPECT_EQ(session->TextStream(), said);
    EXPECT_EQ(boardText, said);
    Receive(Message{1, 0, "text"}, Bytes{'b'});
    EXPECT_EQ(session->TextStream(), "b");
}

TEST_F(LinkSessionTest, RatesPauseWhileTheCompassCalibrationRuns) {
    OpenBoard();
    Receive(msg::DL_ID_AHRS_DATE_COME, Bytes(49));
    Receive(msg::DL_ID_AHRS_DATE_COME, Bytes(49));
    session->UpdateRates();
    EXPECT_EQ(session->Rate(LiveStream::kAhrs), 2u);
    session->Send(msg::DL_MINIAHRS_MAG_3AXIS_START_CAL.group,
                  msg::DL_MINIAHRS_MAG_3AXIS_START_CAL.msgId, 0, nullptr);
    EXPECT_TRUE(session->MagCalibrating());
    Receive(msg::DL_ID_AHRS_DATE_COME, Bytes(49));
    session->UpdateRates();
    EXPECT_EQ(session->Rate(LiveStream::kAhrs), 2u);
    Receive(msg::DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL);
    EXPECT_FALSE(session->MagCalibrating());
    session->UpdateRates();
    EXPECT_EQ(session->Rate(LiveStream::kAhrs), 1u);
}

}  // namespace
}  // namespace zephran
