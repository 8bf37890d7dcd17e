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

TEST_F(AppPathsTest, StartUpCreatesConfigInAMissingFolder) {
    CZephranApp app(ResolveAppPaths(dir.File("fresh/nested")));
    app.PrepareSettings();
    EXPECT_EQ(app.Settings().ReadText("ProductSetting", "Product"), "Vantrel");
    EXPECT_EQ(app.Settings().ReadInt("PCSetting", "bps", 12), 115200);
}

}  // namespace
}  // namespace zephran
