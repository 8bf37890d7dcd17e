// The headless program where its surroundings fail: a closed output, a Config.ini that cannot
// be saved or holds nonsense.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "headless_driver.h"

namespace zephran::test {
namespace {

class HeadlessReliability : public HeadlessTest {
protected:
    std::size_t Count(const Lines& lines, const std::string& start) {
        return static_cast<std::size_t>(
            std::count_if(lines.begin(), lines.end(),
                          [&](const std::string& l) { return l.starts_with(start); }));
    }
};

TEST_F(HeadlessReliability, ClosedOutputEndsTheProgramCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Configure("Manual", 1, "AHRS");
    const auto options = OptionsFrom(Arguments({appDir_.File("no-such-device")}));
    ASSERT_TRUE(options);
    EXPECT_EXIT(
        {
            std::signal(SIGPIPE, SIG_DFL);
            // A program that keeps running would be ended by this alarm instead.
            alarm(20);
            int output[2];
            int input[2];
            if (pipe(output) != 0 || pipe(input) != 0) std::_Exit(3);
            close(output[0]);
            // The input stays open: only the closed output can end the session.
            const char commands[] = "status\nstatus\nstatus\n";
            if (write(input[1], commands, sizeof commands - 1) < 0) std::_Exit(3);
            std::FILE* out = fdopen(output[1], "w");
            std::_Exit(RunHeadless(*options, input[0], out));
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(HeadlessReliability, DemoConnectsWhenConfigCannotBeSavedAndSaysWhyOnce) {
    std::filesystem::create_directories(appDir_.File("Config.ini"));
    HeadlessDriver app(Arguments({}, {"--demo", "AHRS"}));
    ASSERT_TRUE(app.WaitUntil("log", "Connect OK", std::chrono::seconds(5)));
    const std::string notice = "message: Settings cannot be saved in " + appDir_.File("Config.ini");
    EXPECT_EQ(Count(app.Transcript(), notice), 1u) << ::testing::PrintToString(app.Transcript());
    // Settings commands work for the session: the AHRS product the demo chose is in the menu.
    EXPECT_TRUE(Contains(app.Listing("tree"), "(AHRS_Set)"));
    EXPECT_EQ(Count(app.Transcript(), "message: "), 1u);
}

TEST_F(HeadlessReliability, NonsenseBaudRateFallsBackToTheDefaultAndIsTold) {
    appDir_.Write("Config.ini",
                  "[PCSetting]\nPortScanMode=Auto\nCom=1\nbps=abc\n"
                  "[ProductSetting]\nProduct=AHRS\n");
    HeadlessDriver app(Arguments({}, {"--demo", "AHRS"}));
    ASSERT_TRUE(app.WaitUntil("log", "Connect OK", std::chrono::seconds(5)));
    EXPECT_EQ(app.Pane(2), "115200");
    EXPECT_EQ(Count(app.Transcript(), "message: " + appDir_.File("Config.ini") +
                                          ": [PCSetting] bps=abc is not a baud rate; 115200 is "
                                          "used instead."),
              1u)
        << ::testing::PrintToString(app.Transcript());
}

}  // namespace
}  // namespace zephran::test
