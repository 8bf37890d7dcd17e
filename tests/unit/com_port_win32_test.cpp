// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include "link/serial_device.h"
#include "link/serial_device_win32.h"

namespace zephran {
namespace {

class NoOwner : public SerialPortOwner {
public:
    void WakeUp() override {}
};

TEST(ComPortErrors, AnOpenRefusedBecauseAnotherProgramHoldsThePortIsBusy) {
    EXPECT_EQ(OpenFailureFromWindowsError(ERROR_ACCESS_DENIED), OpenFailure::Busy);
    EXPECT_EQ(OpenFailureFromWindowsError(ERROR_SHARING_VIOLATION), OpenFailure::Busy);
    EXPECT_EQ(OpenFailureText(ERROR_ACCESS_DENIED), "the port is open in another program");
}

TEST(ComPortErrors, AMissingPortIsNoSuchDeviceAndOtherErrorsKeepTheSystemsText) {
    EXPECT_EQ(OpenFailureFromWindowsError(ERROR_FILE_NOT_FOUND), OpenFailure::NoSuchDevice);
    EXPECT_EQ(OpenFailureFromWindowsError(ERROR_PATH_NOT_FOUND), OpenFailure::NoSuchDevice);
    EXPECT_EQ(OpenFailureFromWindowsError(ERROR_GEN_FAILURE), OpenFailure::Other);
    EXPECT_EQ(OpenFailureFromWindowsError(ERROR_SUCCESS), OpenFailure::None);
    const std::string text = OpenFailureText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text.find("Windows error"), std::string::npos) << text;
}

TEST(ComPort, APortThatIsNotThereFailsToOpenAndTakesNoWrites) {
    NoOwner owner;
    const std::string path = "\\\\.\\COM251";
    ComPortTransport port(owner, 251, path);
    EXPECT_FALSE(port.Open(115200));
    EXPECT_EQ(port.LastFailure(), OpenFailure::NoSuchDevice);
    EXPECT_FALSE(port.OpenErrorText().empty());
    EXPECT_EQ(port.Name(), path);
    const std::uint8_t byte = 0x55;
    EXPECT_FALSE(port.Write(&byte, 1));
    EXPECT_FALSE(port.MonitorAlive());
    EXPECT_TRUE(port.TakeEvents().empty());
    EXPECT_EQ(ProbeSerialDevice(path), OpenFailure::NoSuchDevice);
    EXPECT_FALSE(SerialDevicePresent(path));
}

// Needs a COM port whose far end takes no bytes: wine_e2e_tests runs this with one, a pty that
// nobody reads, named by ZEPHRAN_STALLED_PORT.
TEST(ComPortOnAStalledLine, AWriteThatCannotLeaveInTimeIsAnErrorAndThePortStaysOpen) {
    const char* path = std::getenv("ZEPHRAN_STALLED_PORT");
    if (path == nullptr) GTEST_SKIP() << "needs a COM port nobody reads (run by wine_e2e_tests)";
    NoOwner owner;
    ComPortTransport port(owner, 5, path, 300);
    ASSERT_TRUE(port.Open(115200)) << port.OpenErrorText();
    // More than the line's buffers take.
    const std::vector<std::uint8_t> block(Transport::kWriteBufferSize, 0x55);
    for (int n = 0; n < 64; ++n)
        ASSERT_TRUE(port.Write(block.data(), block.size()));

    std::vector<PortEvent> events;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto timedOut = [&events] {
        for (const PortEvent& event : events) {
            if (event.kind == PortEvent::Kind::Error && event.step == "WriteFile()") return true;
        }
        return false;
    };
    while (!timedOut() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (PortEvent& event : port.TakeEvents())
            events.push_back(std::move(event));
    }
    ASSERT_TRUE(timedOut());
    for (const PortEvent& event : events)
        EXPECT_NE(event.kind, PortEvent::Kind::Lost);
    EXPECT_TRUE(port.MonitorAlive());
    // Close does not wait out the time-out of every block still queued.
    const auto closing = std::chrono::steady_clock::now();
    port.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(2));
    EXPECT_FALSE(port.MonitorAlive());
}

}  // namespace
}  // namespace zephran
