// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/app_paths.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using testing::TempDir;

class WindowsPaths : public ::testing::Test {
protected:
    void SetUp() override {
        testing::SetEnvironment(testing::kUserConfigVariable, dir.File("roaming"));
        testing::SetEnvironment(testing::kUserDataVariable, dir.File("local"));
    }
    void TearDown() override {
        testing::UnsetEnvironment(testing::kUserConfigVariable);
        testing::UnsetEnvironment(testing::kUserDataVariable);
    }

    TempDir dir;
};

TEST_F(WindowsPaths, TheUsersFoldersFollowAppDataAndLocalAppData) {
    EXPECT_EQ(UserConfigDir(), dir.File("roaming") + "\\ZephranFPV");
    EXPECT_EQ(UserDataDir(), dir.File("local") + "\\ZephranFPV");
}

TEST_F(WindowsPaths, AWritableProgramFolderKeepsTheFilesAndTheProfileIsTheUsers) {
    const std::string program = dir.File("program");
    ASSERT_TRUE(MakeDirectories(program));
    const AppPaths paths = ResolveAppPathsFor(program, std::nullopt);
    EXPECT_EQ(paths.programDir, program);
    EXPECT_EQ(paths.configFile, program + "/Config.ini");
    EXPECT_EQ(paths.logDir, program + "/Log");
    EXPECT_EQ(paths.profileFile, dir.File("roaming") + "\\ZephranFPV/profile.ini");
}

TEST_F(WindowsPaths, TheProgramFolderIsTheExecutables) {
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(ExecutableDir()) / "unit_tests.exe"))
        << ExecutableDir();
}

// A UTF-8 name reaches the system as the same characters, not as bytes of a code page.
TEST_F(WindowsPaths, FilesWithNonAsciiNamesAreWrittenAndReadBack) {
    const std::string name = "d\xC3\xA9j\xC3\xA0-\xE6\xB5\x8B\xE8\xAF\x95.ini";  // déjà-测试.ini
    ASSERT_TRUE(ReplaceWholeFile(dir.File(name), "[A]\nb=1\n"));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(dir.Path()) /
                                        L"d\u00e9j\u00e0-\u6d4b\u8bd5.ini"));
    EXPECT_EQ(ReadWholeFile(dir.File(name), 1024), "[A]\nb=1\n");
    EXPECT_EQ(RegularFileSize(dir.File(name)), 8u);
    EXPECT_TRUE(RemoveFile(dir.File(name)));
    EXPECT_FALSE(PathExists(dir.File(name)));
}

}  // namespace
}  // namespace zephran
