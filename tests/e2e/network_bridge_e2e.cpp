// SPDX-License-Identifier: GPL-3.0-or-later
// The network transports through the bridges people put between a computer and a board:
// socat and ser2net on 127.0.0.1, in front of a simulated board's pty.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "link/network_transport_factory.h"
#include "link/port_address.h"
#include "sim/frame_codec.h"
#include "sim/messages.h"
#include "sim/products.h"
#include "sim/virtual_board.h"
#include "support/bridge_process.h"
#include "support/temp_dir.h"
#include "support/transport_watcher.h"

namespace zephran::test {
namespace {

using namespace std::chrono_literals;
using sim::Bytes;
using sim::Frame;
using testing::Bridge;
using testing::BridgeKind;
using testing::FindProgram;
using testing::ToolOf;
using testing::TtyBaud;

// A stream the test board adds to the AHRS board: numbered frames, full of 0xFF bytes so that
// an RFC 2217 link escapes every one, sent only once the tool has connected and until it asks
// the board to stop.
constexpr std::uint8_t kStreamGroup = 30;
constexpr std::uint8_t kStreamId = 1;
constexpr std::uint8_t kStopStreamId = 2;
constexpr auto kStreamPeriod = 5ms;
constexpr std::size_t kStreamPayload = 32;

std::unique_ptr<sim::Board> StreamingAhrs() {
    auto board = sim::MakeBoard("AHRS", sim::Clock::now());
    struct Stream {
        std::int32_t next = 0;
        bool stopped = false;
    };
    auto stream = std::make_shared<Stream>();
    board->AddSource(kStreamPeriod, [stream](sim::Board& b) {
        if (!b.Connected() || stream->stopped) return;
        Bytes payload(kStreamPayload, 0xFF);
        sim::PutI32(payload, 0, stream->next++);
        b.Send(kStreamGroup, kStreamId, payload);
    });
    // The answer goes after every stream frame sent before it.
    board->Handle(kStreamGroup, kStopStreamId,
                  [stream](std::span<const std::uint8_t>, sim::Board& b) {
                      stream->stopped = true;
                      b.Send(kStreamGroup, kStopStreamId);
                  });
    return board;
}

struct BridgeCase {
    BridgeKind kind;
    const char* name;
};

void PrintTo(const BridgeCase& bridge, std::ostream* out) {
    *out << bridge.name;
}

// The tool's end: a transport and the frames it has brought in.
class BoardClient {
public:
    explicit BoardClient(const std::string& address)
        : transport_(MakeNetworkTransport(ParsePortAddress(address).address, watcher, 1)) {}

    Transport& Link() { return *transport_; }

    bool Send(std::uint8_t group, std::uint8_t msgId, const Bytes& payload = {}) {
        const Bytes frame = sim::EncodeFrame(group, msgId, payload);
        return transport_->Write(frame.data(), frame.size());
    }

    // The next frame (group, msgId); the stream's frames on the way are counted, others skipped.
    std::optional<Frame> WaitFor(std::uint8_t group, std::uint8_t msgId,
                                 std::chrono::milliseconds timeout = 5s) {
        std::optional<Frame> found;
        watcher.WaitUntil(
            *transport_,
            [&] {
                Take();
                while (!found && !frames_.empty()) {
                    Frame frame = std::move(frames_.front());
                    frames_.pop_front();
                    if (frame.group == group && frame.msgId == msgId) found = std::move(frame);
                }
                return found.has_value();
            },
            timeout);
        return found;
    }

    // Stream frames seen, and whether they came numbered 0, 1, 2 and so on.
    std::uint64_t streamFrames = 0;
    bool streamInOrder = true;
    testing::TransportWatcher watcher;

private:
    void Take() {
        for (Frame& frame : decoder_.Feed(watcher.received)) {
            if (frame.group == kStreamGroup && frame.msgId == kStreamId) {
                streamInOrder = streamInOrder && frame.payload == StreamPayload(streamFrames);
                ++streamFrames;
            }
            frames_.push_back(std::move(frame));
        }
        watcher.received.clear();
    }
    static Bytes StreamPayload(std::uint64_t number) {
        Bytes payload(kStreamPayload, 0xFF);
        sim::PutI32(payload, 0, static_cast<std::int32_t>(number));
        return payload;
    }

    std::unique_ptr<Transport> transport_;
    sim::FrameDecoder decoder_;
    std::deque<Frame> frames_;
};

class NetworkBridge : public ::testing::TestWithParam<BridgeCase> {
protected:
    void SetUp() override {
        const std::string program = FindProgram(ToolOf(GetParam().kind));
        if (program.empty()) GTEST_SKIP() << ToolOf(GetParam().kind) << " is not installed";
        const auto slave = board.Start(StreamingAhrs());
        ASSERT_TRUE(slave) << board.LastError();
        // Held open by the test too, so the pty's settings can be read while the bridge has it.
        slaveFd = open(slave->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(slaveFd, 0);
        bridge.emplace(GetParam().kind, program, *slave, dir.Path());
        ASSERT_TRUE(bridge->Start()) << bridge->Log();
    }
    void TearDown() override {
        bridge.reset();
        if (slaveFd >= 0) close(slaveFd);
    }

    // Opens the client at baud and connects to the board.
    void Connect(BoardClient& client, unsigned baud = 115200) {
        ASSERT_TRUE(client.Link().Open(baud));
        ASSERT_TRUE(client.Send(sim::kLinkControlGroup, sim::kConnectId));
        ASSERT_TRUE(client.WaitFor(sim::kLinkControlGroup, sim::kConnectId))
            << client.watcher.FirstError() << "\n"
            << bridge->Log();
    }

    testing::TempDir dir;
    sim::VirtualBoard board;
    int slaveFd = -1;
    std::optional<Bridge> bridge;
};

TEST_P(NetworkBridge, ReadsAndWritesParametersAndStreamsWithoutLosingAFrame) {
    BoardClient client(bridge->Address());
    Connect(client);
    EXPECT_EQ(client.Link().Name(), bridge->Address());

    ASSERT_TRUE(client.Send(sim::ahrs::kGroup, sim::ahrs::kReadNoise));
    const auto noise = client.WaitFor(sim::ahrs::kGroup, sim::ahrs::kReadNoise);
    ASSERT_TRUE(noise);
    ASSERT_EQ(noise->payload.size(), 25u);
    Bytes changed = noise->payload;
    sim::PutDouble(changed, 1, 0.25);
    ASSERT_TRUE(client.Send(sim::ahrs::kGroup, sim::ahrs::kWriteNoise, changed));
    EXPECT_TRUE(client.WaitFor(sim::ahrs::kGroup, sim::ahrs::kWriteNoise));
    ASSERT_TRUE(client.Send(sim::ahrs::kGroup, sim::ahrs::kReadNoise));
    const auto reread = client.WaitFor(sim::ahrs::kGroup, sim::ahrs::kReadNoise);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->payload, changed);

    // A few seconds of the stream, the AHRS's own live data beside it.
    EXPECT_FALSE(client.WaitFor(kStreamGroup, kStopStreamId, 3s));
    ASSERT_TRUE(client.Send(kStreamGroup, kStopStreamId));
    ASSERT_TRUE(client.WaitFor(kStreamGroup, kStopStreamId));
    EXPECT_GT(client.streamFrames, 100u);
    EXPECT_EQ(client.streamFrames, board.FramesWritten(kStreamGroup, kStreamId));
    EXPECT_TRUE(client.streamInOrder);
    EXPECT_EQ(client.watcher.Count(PortEvent::Kind::Error), 0u) << client.watcher.FirstError();
    EXPECT_EQ(client.watcher.Count(PortEvent::Kind::Lost), 0u);
    EXPECT_EQ(client.watcher.Count(PortEvent::Kind::Discarded), 0u);
}

TEST_P(NetworkBridge, BridgeStoppedMidStreamIsLostAndTheLinkComesBackWithIt) {
    BoardClient client(bridge->Address());
    Connect(client);
    EXPECT_FALSE(client.WaitFor(kStreamGroup, kStopStreamId, 500ms));
    EXPECT_GT(client.streamFrames, 0u);

    bridge->Stop();
    ASSERT_TRUE(client.watcher.WaitForLost(client.Link(), 3s));
    EXPECT_EQ(client.watcher.events.back().kind, PortEvent::Kind::Lost);
    EXPECT_NE(client.watcher.events.back().text, "");
    EXPECT_EQ(client.watcher.Count(PortEvent::Kind::Error), 0u) << client.watcher.FirstError();
    // Nothing more comes from a lost link.
    EXPECT_FALSE(client.Send(sim::kLinkControlGroup, sim::kConnectId));

    ASSERT_TRUE(bridge->Start()) << bridge->Log();
    client.watcher.events.clear();
    Connect(client);
    EXPECT_EQ(client.watcher.Count(PortEvent::Kind::Error), 0u) << client.watcher.FirstError();
}

INSTANTIATE_TEST_SUITE_P(Bridges, NetworkBridge,
                         ::testing::Values(BridgeCase{BridgeKind::kSocat, "SocatRaw"},
                                           BridgeCase{BridgeKind::kSer2netRaw, "Ser2netRaw"},
                                           BridgeCase{BridgeKind::kSer2netRfc2217,
                                                      "Ser2netRfc2217"}),
                         [](const auto& info) { return std::string(info.param.name); });

using NetworkRfc2217Bridge = NetworkBridge;

TEST_P(NetworkRfc2217Bridge, TheBridgeRunsItsPortAtTheToolsRate) {
    for (const unsigned baud : {57600u, 115200u, 19200u}) {
        BoardClient client(bridge->Address());
        Connect(client, baud);
        EXPECT_EQ(TtyBaud(slaveFd), baud);
        EXPECT_EQ(client.watcher.Count(PortEvent::Kind::Error), 0u) << client.watcher.FirstError();
        client.Link().Close();
    }
}

INSTANTIATE_TEST_SUITE_P(Bridges, NetworkRfc2217Bridge,
                         ::testing::Values(BridgeCase{BridgeKind::kSer2netRfc2217,
                                                      "Ser2netRfc2217"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zephran::test
