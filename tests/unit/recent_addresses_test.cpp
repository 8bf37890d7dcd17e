// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/recent_addresses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/network_transport_factory.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using Lines = std::vector<std::string>;

// Only network addresses are remembered, and a build without network transports reads none.
class RecentAddressesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetworkTransportsAvailable()) GTEST_SKIP() << "this build has no network transports";
    }
};

TEST_F(RecentAddressesTest, KeepsTheNewestFirstOnceEachAndForgetsTheOldest) {
    testing::TempDir dir;
    const RecentAddresses recent(dir.File("addresses.ini"));
    EXPECT_EQ(recent.List(), Lines{});
    EXPECT_TRUE(recent.Remember("tcp://bridge.local:23"));
    EXPECT_TRUE(recent.Remember("socket://10.0.0.7:4001"));
    EXPECT_TRUE(recent.Remember("rfc2217://[fe80::1]:7001"));
    EXPECT_EQ(recent.List(),
              (Lines{"rfc2217://[fe80::1]:7001", "tcp://10.0.0.7:4001", "tcp://bridge.local:23"}));

    // Connecting again to a known address brings it to the front without a second entry.
    EXPECT_TRUE(recent.Remember("tcp://bridge.local:23"));
    EXPECT_EQ(recent.List(),
              (Lines{"tcp://bridge.local:23", "rfc2217://[fe80::1]:7001", "tcp://10.0.0.7:4001"}));

    for (int port = 1; port <= 8; ++port)
        EXPECT_TRUE(recent.Remember("tcp://h:" + std::to_string(port)));
    const Lines kept = recent.List();
    ASSERT_EQ(kept.size(), RecentAddresses::kMost);
    EXPECT_EQ(kept.front(), "tcp://h:8");
    EXPECT_EQ(kept.back(), "tcp://h:1");
}

TEST_F(RecentAddressesTest, RefusesWhatIsNoNetworkAddressAndSkipsItInTheFile) {
    testing::TempDir dir;
    const std::string file = dir.Write("addresses.ini",
                                       "[Addresses]\n1=/dev/ttyUSB0\n2=tcp://ok:1\n3=tcp://:99\n"
                                       "4=tcp://ok:1\n5=rfc2217://other:2\n");
    const RecentAddresses recent(file);
    EXPECT_EQ(recent.List(), (Lines{"tcp://ok:1", "rfc2217://other:2"}));
    EXPECT_FALSE(recent.Remember("/dev/ttyUSB1"));
    EXPECT_FALSE(recent.Remember("tcp://host"));
    EXPECT_EQ(recent.List(), (Lines{"tcp://ok:1", "rfc2217://other:2"}));

    const RecentAddresses unwritable(dir.File("missing/folder/addresses.ini"));
    EXPECT_FALSE(unwritable.Remember("tcp://ok:1"));
}

}  // namespace
}  // namespace zephran
