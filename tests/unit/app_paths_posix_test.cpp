#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/zephran_app.h"
#include "platform/app_paths.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using testing::TempDir;

// Points the XDG variables into a temporary folder for one test.
class AppPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    TempDir dir;
};

TEST_F(AppPathsTest, OverrideTakesConfigLanguagesAndLogs) {
    dir.Write("portable/Language/english.ini", "[Tree]\n");
    const auto paths = ResolveAppPaths(dir.File("portable") + "/");
    EXPECT_EQ(paths.programDir, dir.File("portable"));
    EXPECT_EQ(paths.configFile, dir.File("portable/Config.ini"));
    EXPECT_EQ(paths.languageDir, dir.File("portable/Language"));
    EXPECT_EQ(paths.logDir, dir.File("portable/Log"));
    EXPECT_EQ(paths.profileFile, dir.File("config/ZephranFPV/profile.ini"));
}

TEST_F(AppPathsTest, FolderWithoutLanguagesUsesTheShippedOnes) {
    const auto paths = ResolveAppPaths(dir.File("bare"));
    EXPECT_EQ(paths.languageDir, ExecutableDir() + "/Language");
    EXPECT_TRUE(std::filesystem::exists(paths.languageDir + "/english.ini"));
}

TEST_F(AppPathsTest, DefaultsBesideTheWritableExecutable) {
    const auto paths = ResolveAppPaths(std::nullopt);
    EXPECT_EQ(paths.configFile, ExecutableDir() + "/Config.ini");
}

TEST_F(AppPathsTest, InstalledProgramUsesTheUsersFoldersAndItsSharedLanguages) {
    // Writable, as an unpacked package is, yet laid out as installed.
    dir.Write("usr/share/zephran/Language/english.ini", "[Tree]\n");
    dir.Write("usr/bin/.keep", "");
    const auto paths = ResolveAppPathsFor(dir.File("usr/bin"), std::nullopt);
    EXPECT_EQ(paths.programDir, dir.File("usr/bin"));
    EXPECT_EQ(paths.configFile, dir.File("config/ZephranFPV/Config.ini"));
    EXPECT_EQ(paths.logDir, dir.File("data/ZephranFPV/Log"));
    EXPECT_EQ(paths.languageDir, dir.File("usr/share/zephran/Language"));
    // The user's own languages come first; --app-dir still takes everything.
    dir.Write("data/ZephranFPV/Language/english.ini", "[Tree]\n");
    EXPECT_EQ(ResolveAppPathsFor(dir.File("usr/bin"), std::nullopt).languageDir,
              dir.File("data/ZephranFPV/Language"));
    const auto portable = ResolveAppPathsFor(dir.File("usr/bin"), dir.File("mine"));
    EXPECT_EQ(portable.configFile, dir.File("mine/Config.ini"));
    EXPECT_EQ(portable.languageDir, dir.File("usr/share/zephran/Language"));
}

TEST_F(AppPathsTest, LanguagesBesideTheExecutableMakeItPortable) {
    dir.Write("tree/bin/Language/english.ini", "[Tree]\n");
    dir.Write("tree/share/zephran/Language/english.ini", "[Tree]\n");
    const auto paths = ResolveAppPathsFor(dir.File("tree/bin"), std::nullopt);
    EXPECT_EQ(paths.configFile, dir.File("tree/bin/Config.ini"));
    EXPECT_EQ(paths.languageDir, dir.File("tree/bin/Language"));
}

TEST_F(AppPathsTest, StartUpCreatesConfigInAMissingFolder) {
    CZephranApp app(ResolveAppPaths(dir.File("fresh/nested")));
    app.PrepareSettings();
    EXPECT_EQ(app.Settings().ReadText("ProductSetting", "Product"), "Vantrel");
    EXPECT_EQ(app.Settings().ReadInt("PCSetting", "bps", 12), 115200);
}

}  // namespace
}  // namespace zephran
