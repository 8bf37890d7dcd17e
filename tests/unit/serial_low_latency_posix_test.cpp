// SPDX-License-Identifier: GPL-3.0-or-later
// The low-latency request on opening a port, through a stand-in for the device-control call.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "link/serial_low_latency.h"

namespace zephran {
namespace {

// What the stand-in driver holds and answers; one at a time, as the tests run in one thread.
struct FakeDriver {
    bool knowsSerialSettings = true;
    bool refusesChanges = false;
    int flags = 0;
    std::vector<unsigned long> requests;
};
FakeDriver driver;

int FakeControl(int, unsigned long request, void* argument) {
    driver.requests.push_back(request);
    auto* serial = static_cast<serial_struct*>(argument);
    if (!driver.knowsSerialSettings) {
        errno = ENOTTY;
        return -1;
    }
    if (request == TIOCGSERIAL) {
        serial->flags = driver.flags;
        return 0;
    }
    if (driver.refusesChanges) {
        errno = EPERM;
        return -1;
    }
    driver.flags = serial->flags;
    return 0;
}

TEST(SerialLowLatency, SetsTheFlagAndKeepsTheDriversOthers) {
    driver = {.flags = ASYNC_SPD_HI | ASYNC_SKIP_TEST};
    EXPECT_TRUE(RequestLowLatency(3, FakeControl));
    EXPECT_EQ(driver.flags, ASYNC_SPD_HI | ASYNC_SKIP_TEST | ASYNC_LOW_LATENCY);
    EXPECT_EQ(driver.requests, (std::vector<unsigned long>{TIOCGSERIAL, TIOCSSERIAL}));
}

TEST(SerialLowLatency, LeavesADriverAloneThatHasItAlready) {
    driver = {.flags = ASYNC_LOW_LATENCY};
    EXPECT_TRUE(RequestLowLatency(3, FakeControl));
    EXPECT_EQ(driver.requests, std::vector<unsigned long>{TIOCGSERIAL});
}

TEST(SerialLowLatency, GoesOnSilentlyWhereTheDriverRefuses) {
    driver = {.knowsSerialSettings = false};  // a pty
    EXPECT_FALSE(RequestLowLatency(3, FakeControl));
    EXPECT_EQ(driver.requests, std::vector<unsigned long>{TIOCGSERIAL});

    driver = {.refusesChanges = true};
    EXPECT_FALSE(RequestLowLatency(3, FakeControl));
    EXPECT_EQ(driver.flags, 0);
}

TEST(SerialLowLatency, APtyRefusesItWithoutHarm) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    EXPECT_FALSE(RequestLowLatency(master));
    close(master);
}

}  // namespace
}  // namespace zephran
