#include <gtest/gtest.h>

#include "sim/gpsins_board.h"
#include "sim/products.h"

namespace zephran::sim {
namespace {

using Frames = std::vector<Frame>;

// The QR record as the board ships it: tag 22, then gyro 2e-8, acc 0.002, gyro random walk
// 1e-9, acc random walk 1e-20, GPS horizontal position 0.04, vertical position 0.01, horizontal
// velocity 0.0025, vertical velocity 100, barometer 0.5, acc without GPS 1e-5, magnetic yaw
// 1e-4, acc 0.002.
const Bytes kFactoryQr{0x22, 0x3A, 0x8C, 0x30, 0xE2, 0x8E, 0x79, 0x55, 0x3E, 0xFC, 0xA9, 0xF1, 0xD2,
                       0x4D, 0x62, 0x60, 0x3F, 0x95, 0xD6, 0x26, 0xE8, 0x0B, 0x2E, 0x11, 0x3E, 0x23,
                       0x42, 0x92, 0x0C, 0xA1, 0x9C, 0xC7, 0x3B, 0x7B, 0x14, 0xAE, 0x47, 0xE1, 0x7A,
                       0xA4, 0x3F, 0x7B, 0x14, 0xAE, 0x47, 0xE1, 0x7A, 0x84, 0x3F, 0x7B, 0x14, 0xAE,
                       0x47, 0xE1, 0x7A, 0x64, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x59, 0x40,
                       0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F, 0xF1, 0x68, 0xE3, 0x88, 0xB5,
                       0xF8, 0xE4, 0x3E, 0x2D, 0x43, 0x1C, 0xEB, 0xE2, 0x36, 0x1A, 0x3F, 0xFC, 0xA9,
                       0xF1, 0xD2, 0x4D, 0x62, 0x60, 0x3F};

class SimGpsIns : public ::testing::Test {
protected:
    Frames Request(std::uint8_t msgId, const Bytes& payload = {}) {
        board->Receive(EncodeFrame(gpsins::kGroup, msgId, payload), Clock::time_point{});
        return FrameDecoder().Feed(board->TakeOutput());
    }
    Bytes Read() {
        const Frames frames = Request(gpsins::kQrRead);
        EXPECT_EQ(frames.size(), 1u);
        return frames.empty() ? Bytes{} : frames[0].payload;
    }
    bool Acknowledged(std::uint8_t msgId, const Bytes& payload = {}) {
        return Request(msgId, payload) == Frames{{gpsins::kGroup, msgId, {}}};
    }

    std::unique_ptr<Board> board = MakeBoard("GPSINS", Clock::time_point{});
};

TEST_F(SimGpsIns, ReadAnswersWithTheTaggedFactoryRecord) {
    EXPECT_EQ(Read(), kFactoryQr);
    EXPECT_EQ(gpsins::DecodeQr(kFactoryQr), gpsins::FactoryQr());
    EXPECT_TRUE(Request(gpsins::kQrRead, {0}).empty());
}

TEST_F(SimGpsIns, WriteKeepsTheTagAndDefaultRestoresTheFactoryRecord) {
    // Leading byte 00, then 1.0 in the first parameter and 2.0 in every other.
    Bytes written{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};
    for (int k = 0; k < 11; ++k)
        written.insert(written.end(), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40});
    EXPECT_TRUE(Acknowledged(gpsins::kQrWrite, written));
    Bytes expected = written;
    expected[0] = 0x22;
    EXPECT_EQ(Read(), expected);

    EXPECT_TRUE(Request(gpsins::kQrWrite, Bytes(96, 0)).empty());
    EXPECT_TRUE(Request(gpsins::kQrDefault, {0}).empty());
    EXPECT_EQ(Read(), expected);

    EXPECT_TRUE(Acknowledged(gpsins::kQrDefault));
    EXPECT_EQ(Read(), kFactoryQr);
}

}  // namespace
}  // namespace zephran::sim
