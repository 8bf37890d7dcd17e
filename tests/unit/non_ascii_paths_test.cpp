// SPDX-License-Identifier: GPL-3.0-or-later
// Paths are UTF-8 inside the program; on Windows every file call must take them as such, not in
// the system's ANSI code page (a user named José, a folder named in Chinese).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/language_dlg.h"
#include "lang/language_setting.h"
#include "platform/private_profile.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

// "déjà-测试" in UTF-8, and as the standard library's path.
const std::string kFolder = "d\u00e9j\u00e0-\u6d4b\u8bd5";
const std::filesystem::path kFolderPath(u8"d\u00e9j\u00e0-\u6d4b\u8bd5");

TEST(NonAsciiPaths, TheLanguageSettingMakesItsFolderAndReadsItsProfileBack) {
    testing::TempDir dir;
    const std::string profile = dir.File(kFolder) + "/profile.ini";
    const LanguageSetting setting(profile);
    ASSERT_TRUE(setting.Write("english"));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(dir.Path()) / kFolderPath /
                                                 "profile.ini"));
    EXPECT_EQ(setting.Read(), "english");
    ASSERT_TRUE(WritePrivateProfileString("Settings", "Language", "chinese", profile));
    EXPECT_EQ(GetPrivateProfileString("Settings", "Language", "", profile), "chinese");
}

TEST(NonAsciiPaths, LanguageFilesAreListedFromAFolderAndUnderNamesOutsideAscii) {
    testing::TempDir dir;
    const std::filesystem::path folder = std::filesystem::path(dir.Path()) / kFolderPath;
    std::filesystem::create_directory(folder);
    const std::string french = "fran\u00e7ais";
    ASSERT_TRUE(
        WritePrivateProfileString("Main", "Title", "x", dir.File(kFolder) + "/" + french + ".ini"));
    ASSERT_TRUE(
        WritePrivateProfileString("Main", "Title", "x", dir.File(kFolder) + "/english.ini"));
    EXPECT_EQ(CLanguageDlg::LanguageNames(dir.File(kFolder)),
              (std::vector<std::string>{"english", french}));
}

}  // namespace
}  // namespace zephran
