#include <gtest/gtest.h>

#include <set>

#include "link/message_catalogue.h"
#include "link/traffic_log.h"
#include "support/fake_texts.h"

namespace zephran {
namespace {

class TrafficLogTest : public ::testing::Test {
protected:
    TrafficLogTest() {
        texts.Set("Communicate State", "CheckConnect", "Connect");
        texts.Set("Communicate State", "UnknowCMD", "Unknown");
        texts.Set("Communicate State", "Succeed", " ok");
        texts.Set("Communicate State", "Timeout", " timed out");
        texts.Set("Communicate State", "", "the empty key");
    }
    testing::FakeTexts texts;
    testing::VectorLines lines;
    TrafficLog log{lines, texts};
};

TEST_F(TrafficLogTest, LinesByDirection) {
    log.LogTraffic(TrafficDirection::Sent, 12, 1);
    log.LogTraffic(TrafficDirection::Received, 12, 1);
    log.LogTraffic(TrafficDirection::TimedOut, 12, 1);
    EXPECT_EQ(lines.lines,
              (std::vector<std::string>{"**Connect**", "Connect ok", "Connect timed out"}));
}

TEST_F(TrafficLogTest, UnlistedMessagesAndGroups) {
    log.LogTraffic(TrafficDirection::Sent, 15, 26);
    log.LogTraffic(TrafficDirection::Sent, 1, 0);
    log.LogTraffic(TrafficDirection::Sent, 10, 5);
    // Groups 17 and 18 name unlisted messages with nothing, not even the empty key's text.
    log.LogTraffic(TrafficDirection::Sent, 18, 37);
    log.LogTraffic(TrafficDirection::Sent, 17, 2);
    EXPECT_EQ(lines.lines, (std::vector<std::string>{"**Unknown**", "**Unknown**", "**Unknown**",
                                                     "****", "****"}));
}

TEST_F(TrafficLogTest, TenthLineClearsTheList) {
    for (int i = 0; i < 9; ++i)
        log.LogTraffic(TrafficDirection::Sent, 12, 1);
    EXPECT_EQ(lines.lines.size(), 9u);
    log.LogTraffic(TrafficDirection::Received, 12, 1);
    EXPECT_EQ(lines.lines, std::vector<std::string>{"Connect ok"});
}

TEST(MessageCatalogue, NamesAndGaps) {
    EXPECT_EQ(CatalogueKey(12, 1), "CheckConnect");
    EXPECT_EQ(CatalogueKey(11, 0), "AAT Read Mag");
    EXPECT_EQ(CatalogueKey(11, 9), "UnknowCMD");
    EXPECT_EQ(CatalogueKey(11, 33), "DL_ID_AAT_SERVO_SET_SERVO_GAP");
    EXPECT_EQ(CatalogueKey(14, 0), "Query Update");
    EXPECT_EQ(CatalogueKey(15, 25), "DL_MINIAHRS_MAG_3AXIS_CAL_COF");
    for (int gap : {26, 31, 42, 47, 58, 63, 72}) {
        EXPECT_EQ(CatalogueKey(15, static_cast<std::uint8_t>(gap)), "UnknowCMD") << gap;
    }
    EXPECT_EQ(CatalogueKey(15, 64), "DL_MINIAHRS_READ_MAG_6FACE_CAL");
    EXPECT_EQ(CatalogueKey(16, 0), "UnknowCMD");
    EXPECT_EQ(CatalogueKey(18, 36), "DL_STANDARDOSD_PID_AIRSPEED2THRO_DEFAULT");
    EXPECT_EQ(CatalogueKey(18, 0), "");

    // Every pair appears once and every name is unique.
    std::set<std::uint16_t> pairs;
    std::set<std::string_view> names;
    for (const auto& entry : CatalogueMessages()) {
        EXPECT_TRUE(
            pairs.insert(static_cast<std::uint16_t>(entry.group * 256 + entry.msgId)).second);
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    }
    EXPECT_EQ(CatalogueMessages().size(), 145u);
}

}  // namespace
}  // namespace zephran
