#include "link/port_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zephran {
namespace {

namespace fs = std::filesystem;

// A fake /sys and /dev in a temporary folder.
class PortDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zephran-ports-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(Sys() / "class" / "tty");
        fs::create_directories(Dev());
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Sys() const { return root_ / "sys"; }
    fs::path Dev() const { return root_ / "dev"; }

    static void Write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text << "\n";
    }

    // A tty whose device is devicePath under sys/devices (none when empty), with a /dev node.
    fs::path AddTty(const std::string& name, const std::string& devicePath = "",
                    bool withNode = true) {
        const fs::path tty = Sys() / "class" / "tty" / name;
        fs::create_directories(tty);
        if (!devicePath.empty()) {
            fs::create_directories(Sys() / "devices" / devicePath);
            fs::create_directory_symlink(Sys() / "devices" / devicePath, tty / "device");
        }
        if (withNode) Write(Dev() / name, "");
        return tty;
    }

    std::vector<std::string> Paths(const PortDirectoryOptions& options) const {
        PortDirectory directory(options);
        directory.Refresh();
        std::vector<std::string> paths;
        for (const PortEntry& entry : directory.Entries()) {
            EXPECT_EQ(entry.number, paths.size() + 1);
            paths.push_back(entry.devicePath);
        }
        return paths;
    }

    PortDirectoryOptions Options() const { return {Sys().string(), Dev().string(), {}, ""}; }
    std::string DevPath(const std::string& name) const { return (Dev() / name).string(); }

    fs::path root_;
};

TEST_F(PortDirectoryTest, UsbThenAcmInNumberOrderThenOnBoardUartsWithHardware) {
    AddTty("ttyUSB10", "usb/10");
    AddTty("ttyACM0", "usb/acm0");
    AddTty("ttyUSB2", "usb/2");
    AddTty("ttyUSB3", "usb/3", false);
    AddTty("ttyUSBx", "usb/x");
    AddTty("tty0");
    // 8250 placeholders have type 0; ports of other drivers count when bound to one.
    Write(AddTty("ttyS0", "platform/serial8250") / "type", "0");
    Write(AddTty("ttyS1", "pnp/00:01") / "type", "4");
    AddTty("ttyS2");
    AddTty("ttyS3", "platform/placeholder");
    fs::create_directory_symlink(Sys() / "bus/platform/drivers/serial8250",
                                 Sys() / "devices/platform/placeholder/driver");
    AddTty("ttyS4", "soc/uart4");
    fs::create_directory_symlink(Sys() / "bus/platform/drivers/dw-apb-uart",
                                 Sys() / "devices/soc/uart4/driver");
    AddTty("ttyS5", "soc/unbound");

    EXPECT_EQ(Paths(Options()),
              (std::vector<std::string>{DevPath("ttyUSB2"), DevPath("ttyUSB10"), DevPath("ttyACM0"),
                                        DevPath("ttyS1"), DevPath("ttyS4")}));
}

TEST_F(PortDirectoryTest, UsbAdaptersAreNamedFromTheirUsbDevice) {
    const fs::path hub = Sys() / "devices/pci0000:00/usb1";
    Write(hub / "idVendor", "1d6b");
    Write(hub / "manufacturer", "Linux xhci-hcd");
    Write(hub / "product", "xHCI Host Controller");
    Write(hub / "1-1/idVendor", "0403");
    Write(hub / "1-1/manufacturer", "FTDI");
    Write(hub / "1-1/product", "FT232R USB UART");
    Write(hub / "1-2/idVendor", "2e8a");
    Write(hub / "1-2/product", "Pico");
    AddTty("ttyUSB0", "pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0");
    AddTty("ttyACM0", "pci0000:00/usb1/1-2/1-2:1.0");
    Write(AddTty("ttyS0", "pnp/00:01") / "type", "4");

    PortDirectory directory(Options());
    directory.Refresh();
    ASSERT_EQ(directory.Entries().size(), 3u);
    EXPECT_EQ(directory.Find(1)->Label(), "COM1 " + DevPath("ttyUSB0") + " (FTDI FT232R USB UART)");
    EXPECT_EQ(directory.Find(2)->adapterName, "Pico");
    EXPECT_EQ(directory.Find(3)->Label(), "COM3 " + DevPath("ttyS0"));
}

TEST_F(PortDirectoryTest, ExplicitPathsReplaceAndPatternsAppendOnce) {
    AddTty("ttyUSB0", "usb/0");
    for (const char* name : {"sim/b2", "sim/b1", "other/c"})
        Write(root_ / name, "");
    PortDirectoryOptions options = Options();
    const std::string sim = (root_ / "sim").string();
    const std::string other = (root_ / "other/c").string();
    options.extraPatterns = sim + "/b*::" + other + ":" + sim + "/b1:" + DevPath("ttyUSB*");

    EXPECT_EQ(Paths(options),
              (std::vector<std::string>{DevPath("ttyUSB0"), sim + "/b1", sim + "/b2", other}));

    options.explicitPaths = {"/dev/ttyX9", other, "/dev/ttyX9"};
    EXPECT_EQ(Paths(options), (std::vector<std::string>{"/dev/ttyX9", other, sim + "/b1",
                                                        sim + "/b2", DevPath("ttyUSB0")}));
}

TEST_F(PortDirectoryTest, KeepsAtMost128Ports) {
    for (int i = 0; i < 130; ++i)
        Write(root_ / "sim" / std::to_string(i), "");
    PortDirectoryOptions options = Options();
    options.extraPatterns = (root_ / "sim/*").string();
    PortDirectory directory(options);
    directory.Refresh();
    EXPECT_EQ(directory.Entries().size(), PortDirectory::kMaxPorts);
    EXPECT_NE(directory.Find(128), nullptr);
    EXPECT_EQ(directory.Find(129), nullptr);
    EXPECT_EQ(directory.Find(0), nullptr);
}

}  // namespace
}  // namespace zephran
