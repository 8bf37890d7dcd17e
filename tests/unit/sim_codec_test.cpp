#include <gtest/gtest.h>

#include "sim/byte_order.h"
#include "sim/frame_codec.h"

namespace zephran::sim {
namespace {

const Bytes kConnect{0x54, 0x4D, 0x0C, 0x01, 0x00, 0x00, 0x52, 0x90};

TEST(SimByteOrder, PinsLittleEndianLayouts) {
    const Bytes layout{0x00, 0x00, 0x80, 0x3F, 0xFB, 0xFF, 0x34, 0x12, 0xFE, 0xFF, 0xFF,
                       0xFF, 0xAB, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};
    Bytes out;
    PutFloat(out, 0, 1.0f);
    PutI16(out, 4, -5);
    PutU16(out, 6, 0x1234);
    PutI32(out, 8, -2);
    PutU8(out, 12, 0xAB);
    PutDouble(out, 13, 1.0);
    EXPECT_EQ(out, layout);

    EXPECT_EQ(GetFloat(layout, 0), 1.0f);
    EXPECT_EQ(GetI16(layout, 4), -5);
    EXPECT_EQ(GetU16(layout, 4), 0xFFFB);
    EXPECT_EQ(GetU16(layout, 6), 0x1234);
    EXPECT_EQ(GetI32(layout, 8), -2);
    EXPECT_EQ(GetU8(layout, 12), 0xAB);
    EXPECT_EQ(GetDouble(layout, 13), 1.0);
    // Bytes past the end read as zero.
    EXPECT_EQ(GetU16(layout, 20), 0x003F);
    EXPECT_EQ(GetI32(layout, 21), 0);
}

TEST(SimFrameCodec, EncodesTheWireImage) {
    EXPECT_EQ(EncodeFrame(12, 1, {}), kConnect);
    EXPECT_EQ(EncodeFrame(15, 1, Bytes{0x00, 0x00, 0x80, 0x3F, 0xFB, 0xFF}),
              (Bytes{0x54, 0x4D, 0x0F, 0x01, 0x06, 0x00, 0x00, 0x00, 0x80, 0x3F, 0xFB, 0xFF, 0xA7,
                     0x36}));
    const Bytes tooLong(kMaxPayload + 1, 0x5A);
    EXPECT_EQ(EncodeFrame(15, 2, tooLong),
              EncodeFrame(15, 2, Bytes(tooLong.begin(), tooLong.end() - 1)));
}

TEST(SimFrameCodec, DecodesGoodFramesAndResynchronisesAfterBadOnes) {
    const Bytes full(kMaxPayload, 0xA5);
    Bytes flipped = EncodeFrame(15, 32, Bytes{1, 2, 3, 4});
    flipped[7] ^= 0x01;
    // A frame that lost a byte swallows the start of the next one until its CRC fails.
    Bytes truncated = EncodeFrame(15, 33, Bytes(10, 0x77));
    truncated.erase(truncated.begin() + 8);

    Bytes stream{0x00, 0x4D, 0xFF, 0x54};  // noise, then "T T M"
    for (const Bytes& part : {kConnect, flipped, EncodeFrame(15, 64, Bytes{1, 2, 3}), truncated,
                              kConnect, Bytes{0x54, 0x4D, 15, 1, 0x01, 0x08},  // length 2049
                              EncodeFrame(16, 3, full)})
        stream.insert(stream.end(), part.begin(), part.end());
    const std::vector<Frame> expected{{12, 1, {}}, {15, 64, {1, 2, 3}}, {12, 1, {}}, {16, 3, full}};

    FrameDecoder whole;
    EXPECT_EQ(whole.Feed(stream), expected);
    EXPECT_EQ(whole.Pending(), 0u);

    FrameDecoder byByte;
    std::vector<Frame> got;
    for (const std::uint8_t b : stream) {
        for (Frame& frame : byByte.Feed(Bytes{b}))
            got.push_back(std::move(frame));
    }
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace zephran::sim
