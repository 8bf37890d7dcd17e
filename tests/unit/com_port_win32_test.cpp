// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
}  // namespace zephran
