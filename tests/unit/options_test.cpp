#include "frontends/common/options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "link/network_transport_factory.h"

namespace zephran {
namespace {

// Parses a command line given without the program's name.
std::optional<Options> Parse(std::initializer_list<const char*> args, std::string& error) {
    std::vector<const char*> argv{"zephran"};
    argv.insert(argv.end(), args);
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), error);
}

TEST(CommandLine, TakesEveryOptionWithItsValue) {
    std::string error;
    const auto options = Parse({"--app-dir", "/tmp/a",       "--port",       "/dev/ttyUSB0",
                                "--port",    "/dev/ttyUSB1", "--headless",   "--virtual-time",
                                "--page",    "AHRS_Set",     "--open",       "scope",
                                "--open",    "attitude",     "--screenshot", "s.png",
                                "--after",   "250",          "--version",    "-h"},
                               error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->appDir, "/tmp/a");
    EXPECT_EQ(options->ports, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
    EXPECT_TRUE(options->headless);
    EXPECT_TRUE(options->virtualTime);
    EXPECT_EQ(options->page, "AHRS_Set");
    EXPECT_EQ(options->open, (std::vector<std::string>{"scope", "attitude"}));
    EXPECT_EQ(options->screenshot, "s.png");
    EXPECT_EQ(options->screenshotAfterMs, 250);
    EXPECT_TRUE(options->version);
    EXPECT_TRUE(options->help);
    EXPECT_FALSE(options->demo);
}

TEST(CommandLine, PortsAreDevicesOrNetworkAddressesWrittenOneWay) {
    std::string error;
    if (!NetworkTransportsAvailable()) {
        EXPECT_FALSE(Parse({"--port", "socket://192.168.4.1:23"}, error));
        EXPECT_EQ(error, "--port: Network addresses are not available in this build");
        return;
    }
    const auto options = Parse({"--port", "/dev/ttyACM0", "--port", "socket://192.168.4.1:23",
                                "--port", "rfc2217://[fe80::1%eth0]:2217"},
                               error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->ports, (std::vector<std::string>{"/dev/ttyACM0", "tcp://192.168.4.1:23",
                                                        "rfc2217://[fe80::1%eth0]:2217"}));
}

TEST(CommandLine, OptionalWordsAreTakenOnlyWhenTheyAreNotOptions) {
    std::string error;
    auto options = Parse({"--demo", "--headless"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->demo, "AHRS");
    EXPECT_TRUE(options->headless);

    options = Parse({"--demo", "GPSINS"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->demo, "GPSINS");

    options = Parse({"--export-csv", "rec.dat", "out.csv"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->exportCsv, "rec.dat");
    EXPECT_EQ(options->exportCsvOut, "out.csv");

    options = Parse({"--export-csv", "rec.dat", "--headless"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->exportCsvOut, "");
    EXPECT_TRUE(options->headless);

    options = Parse({"--export", "rec.dat", "track.gpx"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->exportRecording, "rec.dat");
    EXPECT_EQ(options->exportOut, "track.gpx");
}

TEST(CommandLine, MistakesAreNamed) {
    const struct {
        std::initializer_list<const char*> args;
        const char* error;
    } cases[] = {
        {{"--colour"}, "unknown option --colour"},
        {{"--headless", "--page"}, "--page needs a value"},
        {{"--port"}, "--port needs a value"},
        {{"--port", "tcp://bridge"},
         "--port: \"tcp://bridge\" is not a port address: the port is missing"},
        {{"--port", "ftp://bridge:21"},
         "--port: \"ftp://bridge:21\" is not a port address: the scheme is not tcp://, socket:// "
         "or rfc2217://"},
        {{"--port", "rfc2217://::1:2217"},
         "--port: \"rfc2217://::1:2217\" is not a port address: an IPv6 address goes in "
         "brackets, as [::1]:PORT"},
        {{"--export", "rec.dat"}, "--export needs a recording and an output file"},
        {{"--open", "map"}, "--open takes attitude, position or scope"},
        {{"--after", "soon"}, "--after needs a number of milliseconds"},
        {{"--after", "-1"}, "--after needs a number of milliseconds"},
        {{"--after", "12x"}, "--after needs a number of milliseconds"},
        {{"--after", "99999999999"}, "--after needs a number of milliseconds"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(Parse(c.args, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace zephran
