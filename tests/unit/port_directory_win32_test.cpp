// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "link/port_directory.h"

namespace zephran {
namespace {

// The system's COM ports keep their own numbers, gaps and all (Wine's prefix for the tests has
// COM1 and COM5); a port added by hand must not take a number a port of the system holds.
TEST(PortDirectoryWin32, PortsAddedByHandFollowTheHighestNumberOfTheSystemsPorts) {
    PortDirectory directory({});
    directory.Refresh();
    if (directory.Entries().empty()) GTEST_SKIP() << "no COM port in the system's serial-port map";
    unsigned highest = 0;
    for (const PortEntry& entry : directory.Entries()) {
        EXPECT_EQ(entry.devicePath, "\\\\.\\COM" + std::to_string(entry.number));
        highest = std::max(highest, entry.number);
    }
    // As many as it takes to pass every gap below the highest number.
    const unsigned count = std::min<unsigned>(highest + 1, 16);
    for (unsigned n = 0; n < count; ++n) {
        const std::string path = "\\\\.\\COM" + std::to_string(200 + n);
        const auto number = directory.AddByHand(path);
        ASSERT_TRUE(number) << path;
        EXPECT_EQ(*number, highest + 1 + n);
        ASSERT_NE(directory.Find(*number), nullptr);
        EXPECT_EQ(directory.Find(*number)->devicePath, path);
    }
}

}  // namespace
}  // namespace zephran
