// Settings that cannot be saved, and values that make no sense, are said once and never turn
// into nonsense: the program's own folder falls back to the per-user file, a folder the user
// chose keeps the values for the session.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/zephran_app.h"
#include "platform/app_paths.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using testing::TempDir;

class SettingsFailure : public ::testing::Test {
protected:
    void SetUp() override {
        testing::SetEnvironment(testing::kUserConfigVariable, dir.File("config"));
    }
    void TearDown() override { testing::UnsetEnvironment(testing::kUserConfigVariable); }

    // The program's own folder (not chosen with --app-dir) with Config.ini as a folder.
    AppPaths ProgramFolderWithBrokenConfig() {
        std::filesystem::create_directories(dir.File("program/Config.ini"));
        AppPaths paths;
        paths.programDir = dir.File("program");
        paths.configFile = dir.File("program/Config.ini");
        return paths;
    }

    TempDir dir;
};

TEST_F(SettingsFailure, ProgramFolderFallsBackToThePerUserFileAndSaysSo) {
    CZephranApp app(ProgramFolderWithBrokenConfig());
    const std::string told = app.PrepareSettings();
    const std::string userFile = UserConfigDir() + "/Config.ini";
    EXPECT_EQ(userFile.rfind(dir.File("config"), 0), 0u) << userFile;
    EXPECT_NE(told.find("Settings cannot be saved in " + dir.File("program/Config.ini")),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("it is a folder"), std::string::npos) << told;
    EXPECT_NE(told.find("kept in " + userFile), std::string::npos) << told;
    EXPECT_EQ(app.Paths().configFile, userFile);
    ASSERT_TRUE(app.Settings().Write("PCSetting", "Com", "4"));
    EXPECT_EQ(SettingsFile(userFile).ReadInt("PCSetting", "Com", 12), 4);
    // The next start takes the values saved there.
    CZephranApp again(ProgramFolderWithBrokenConfig());
    again.PrepareSettings();
    EXPECT_EQ(again.Settings().ReadInt("PCSetting", "Com", 12), 4);
}

TEST_F(SettingsFailure, ChosenFolderKeepsValuesForTheSessionWithDefaultsThatWork) {
    std::filesystem::create_directories(dir.File("chosen/Config.ini"));
    CZephranApp app(ResolveAppPaths(dir.File("chosen")));
    const std::string told = app.PrepareSettings();
    EXPECT_NE(told.find(dir.File("chosen/Config.ini")), std::string::npos) << told;
    EXPECT_NE(told.find("Changes last until the program ends."), std::string::npos) << told;
    EXPECT_EQ(app.Paths().configFile, dir.File("chosen/Config.ini"));

    // Every reader sees the documented defaults, not its fallback of 12.
    const SettingsFile other(app.Paths().configFile);
    EXPECT_EQ(other.ReadInt("PCSetting", "bps", 12), 115200);
    EXPECT_EQ(other.ReadText("PCSetting", "PortScanMode"), "Auto");
    EXPECT_EQ(other.ReadInt("PCSetting", "Com", 12), 1);
    // A write that cannot be saved is false, and its value is read back for the session.
    EXPECT_FALSE(other.Write("PCSetting", "bps", "57600"));
    EXPECT_EQ(other.ReadInt("PCSetting", "bps", 12), 57600);
}

TEST_F(SettingsFailure, NonsenseNumbersGoBackToTheirDefaultsOnce) {
    dir.Write("app/Config.ini",
              "[PCSetting]\nPortScanMode=Auto\nCom=0\nbps=abc\n"
              "[AHRSSetting]\nbps=-5\n[ProductSetting]\nProduct=AHRS\n");
    CZephranApp app(ResolveAppPaths(dir.File("app")));
    const std::string told = app.PrepareSettings();
    EXPECT_NE(told.find("[PCSetting] bps=abc is not a baud rate; 115200 is used instead."),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("[AHRSSetting] bps=-5 is not a baud rate"), std::string::npos) << told;
    EXPECT_NE(told.find("[PCSetting] Com=0 is not a port number; 1 is used instead."),
              std::string::npos)
        << told;
    EXPECT_EQ(app.Settings().ReadInt("PCSetting", "bps", 12), 115200);
    EXPECT_EQ(app.Settings().ReadInt("AHRSSetting", "bps", 12), 115200);
    EXPECT_EQ(app.Settings().ReadInt("PCSetting", "Com", 12), 1);
    EXPECT_EQ(app.Settings().ReadText("ProductSetting", "Product"), "AHRS");
    // Put right in the file, so the next start has nothing to say.
    CZephranApp again(ResolveAppPaths(dir.File("app")));
    EXPECT_EQ(again.PrepareSettings(), "");
}

TEST_F(SettingsFailure, SoundValuesAreLeftAlone) {
    dir.Write("app/Config.ini", "[PCSetting]\nCom=3\nbps=256000\n[AHRSSetting]\nbps=9600\n");
    CZephranApp app(ResolveAppPaths(dir.File("app")));
    EXPECT_EQ(app.PrepareSettings(), "");
    EXPECT_EQ(app.Settings().ReadInt("PCSetting", "bps", 12), 256000);
    EXPECT_EQ(app.Settings().ReadInt("PCSetting", "Com", 12), 3);
}

}  // namespace
}  // namespace zephran
