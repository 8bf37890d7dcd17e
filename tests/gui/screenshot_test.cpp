#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
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

TEST(GuiScreenshot, SavesTheScopeBesideTheWindowInAFolderWithDots) {
    TempDir dir;
    // English chosen, so no start-up message holds the scope back.
    dir.Write("config/ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");
    dir.Write("v1.2 shots/.keep", "");
    const std::string shot = dir.File("v1.2 shots") + "/main.png";
    ASSERT_EQ(RunZephran(dir, "--demo AHRS --open scope --screenshot '" + shot + "' --after 1500"),
              0)
        << dir.Read("out.txt");
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
    EXPECT_FALSE(
        QImage(QString::fromStdString(dir.File("v1.2 shots") + "/main-scope.png")).isNull())
        << dir.Read("out.txt");
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

TEST(GuiCommandLine, ExportsARecordingAndExits) {
    TempDir dir;
    // Two records of the recording format with all fields zero: header, mask, length, sums.
    std::string record(242, '\0');
    record.replace(0, 11, std::string("TM\x0A\0\0\0\0\x3F\0\xE5\0", 11));
    record[240] = static_cast<char>(0x2E);  // A: 0x0A + 0x3F + 0xE5
    // B: each byte counts once for every byte from it to the end of the sums range.
    record[241] = static_cast<char>(0x0A * 238 + 0x3F * 233 + 0xE5 * 231);
    const std::string recording = dir.Write("rec.dat", record + record);
    ASSERT_EQ(RunZephran(dir, "--export-csv " + recording + " " + dir.File("out.csv")), 0)
        << dir.Read("out.txt");
    // Without its time file the times are estimated, and the line says so.
    EXPECT_EQ(dir.Read("out.txt"),
              "2 records written to " + dir.File("out.csv") +
                  "\nNo time file: times are estimated at 50 records a second.\n");
    const std::string csv = dir.Read("out.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    EXPECT_EQ(csv.rfind("time (s),record,health,gx (rad/s),", 0), 0u);
    EXPECT_NE(csv.find("\n0.020,1,0,"), std::string::npos) << csv;
    EXPECT_EQ(RunZephran(dir, "--export-csv " + dir.File("none.dat")), 1);
    // The same by the output's extension; these records hold no position, so no track.
    ASSERT_EQ(RunZephran(dir, "--export " + recording + " " + dir.File("again.csv")), 0);
    EXPECT_EQ(dir.Read("again.csv"), csv);
    EXPECT_EQ(RunZephran(dir, "--export " + recording + " " + dir.File("track.gpx")), 1);
    EXPECT_EQ(dir.Read("out.txt"),
              "The recording holds no position (no record has a GPS fix): there is no track for "
              "GPX or KML.\n");
}

}  // namespace
}  // namespace zephran
