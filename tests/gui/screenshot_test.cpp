#include <gtest/gtest.h>

#include <QImage>
#include <cctype>
#include <cstdlib>

#include "support/temp_dir.h"

namespace zephran {
namespace {

using testing::TempDir;

int RunZephran(const TempDir& dir, const std::string& arguments) {
    const std::string command = "XDG_CONFIG_HOME=" + dir.File("config") +
                                " QT_QPA_PLATFORM=offscreen " + ZEPHRAN_EXE + " --app-dir " +
                                dir.File("app") + " --port " + dir.File("no-such-port") + " " +
                                arguments + " >" + dir.File("out.txt") + " 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GuiScreenshot, SavesTheWindowAndExitsEvenWithAMessageBoxOpen) {
    // No language chosen yet: the start-up message box is open when the picture is taken.
    TempDir dir;
    ASSERT_EQ(RunZephran(dir, "--screenshot " + dir.File("shot.png") + " --after 300"), 0)
        << dir.Read("out.txt");
    const QImage image(QString::fromStdString(dir.File("shot.png")));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 200);
    EXPECT_GT(image.height(), 200);
}

TEST(GuiScreenshot, CommandLineMistakesAndHelp) {
    TempDir dir;
    EXPECT_EQ(RunZephran(dir, "--after"), 2);
    EXPECT_NE(dir.Read("out.txt").find("usage: zephran"), std::string::npos);
    EXPECT_EQ(RunZephran(dir, "--help"), 0);
    EXPECT_NE(dir.Read("out.txt").find("--screenshot FILE"), std::string::npos);
    // Without a display: the version is told before Qt starts.
    EXPECT_EQ(RunZephran(dir, "--version"), 0);
    const std::string version = dir.Read("out.txt");
    EXPECT_TRUE(version.starts_with("zephran ") && version.size() > 8 && std::isdigit(version[8]))
        << version;
}

}  // namespace
}  // namespace zephran
