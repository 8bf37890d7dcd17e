#include <gtest/gtest.h>

#include "platform/private_profile.h"
#include "session/settings_file.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using testing::TempDir;

TEST(PrivateProfile, ReadsWithWindowsRules) {
    TempDir dir;
    const auto file = dir.Write("a.ini",
                                "; comment\r\n"
                                "  [ pcsetting ]  \r\n"
                                "  COM = 7 \r\n"
                                "quoted=\"  spaced  \"\r\n"
                                "single='x'\r\n"
                                "half=\"open\r\n"
                                "Com=99\r\n"
                                "[Other]\r\n"
                                "Com=3\r\n"
                                "[PCSetting]\r\n"
                                "late=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "com", "", file), "7");
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "quoted", "", file), "  spaced  ");
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "single", "", file), "x");
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "half", "", file), "\"open");
    EXPECT_EQ(GetPrivateProfileString("Other", "Com", "", file), "3");
    // Only the first section of a name is searched.
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "late", "none", file), "none");
    // The default loses its blanks, so a one-blank default reads as empty.
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "absent", " ", file), "");
    EXPECT_EQ(GetPrivateProfileString("PCSetting", "Com", "d", dir.File("missing.ini")), "d");
}

TEST(PrivateProfile, IntegersTakeTheLeadingDecimalNumber) {
    TempDir dir;
    const auto file = dir.Write("a.ini",
                                "[S]\nplain=115200\nsigned=-42x\nplus=+5\ntext=abc\nempty=\n"
                                "huge=99999999999\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "plain", 12, file), 115200);
    EXPECT_EQ(GetPrivateProfileInt("S", "signed", 12, file), -42);
    EXPECT_EQ(GetPrivateProfileInt("S", "plus", 12, file), 5);
    EXPECT_EQ(GetPrivateProfileInt("S", "text", 12, file), 12);
    EXPECT_EQ(GetPrivateProfileInt("S", "empty", 12, file), 12);
    EXPECT_EQ(GetPrivateProfileInt("S", "absent", 12, file), 12);
    EXPECT_EQ(GetPrivateProfileInt("S", "huge", 12, file), INT_MAX);
}

TEST(PrivateProfile, WritesLeaveEveryOtherLineAsItWas) {
    TempDir dir;
    const std::string original =
        "; keep me\r\n[PCSetting]\r\n  Com = 5  ; odd spacing\r\nbps=9600\r\n\r\n[Tail]\r\nx=1";
    const auto file = dir.Write("a.ini", original);

    ASSERT_TRUE(WritePrivateProfileString("pcsetting", "BPS", "57600", file));
    EXPECT_EQ(dir.Read("a.ini"),
              "; keep me\r\n[PCSetting]\r\n  Com = 5  ; odd spacing\r\nBPS=57600\r\n\r\n[Tail]"
              "\r\nx=1");

    // A new key goes after the section's last entry, before its blank line; a new section
    // first ends the unterminated last line.
    ASSERT_TRUE(WritePrivateProfileString("PCSetting", "PortScanMode", "Auto", file));
    ASSERT_TRUE(WritePrivateProfileString("New", "k", "v", file));
    EXPECT_EQ(dir.Read("a.ini"),
              "; keep me\r\n[PCSetting]\r\n  Com = 5  ; odd spacing\r\nBPS=57600\r\n"
              "PortScanMode=Auto\r\n\r\n[Tail]\r\nx=1\r\n[New]\r\nk=v\r\n");
}

TEST(PrivateProfile, KeepsEachLinesOwnLineEnd) {
    TempDir dir;
    const auto file = dir.Write("a.ini", "[S]\na=1\r\nb=2\r");
    ASSERT_TRUE(WritePrivateProfileString("S", "a", "3", file));
    EXPECT_EQ(dir.Read("a.ini"), "[S]\na=3\r\nb=2\r");
    EXPECT_EQ(GetPrivateProfileString("S", "b", "", file), "2");
}

TEST(PrivateProfile, WriteCreatesTheFile) {
    TempDir dir;
    const auto file = dir.File("new.ini");
    ASSERT_TRUE(WritePrivateProfileString("Settings", "Language", "english", file));
    EXPECT_EQ(dir.Read("new.ini"), "[Settings]\nLanguage=english\n");
    EXPECT_EQ(GetPrivateProfileString("Settings", "Language", "", file), "english");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.File("no/such/dir/x.ini")));
}

TEST(SettingsFile, FirstStartWritesSixDefaultsInOrder) {
    TempDir dir;
    SettingsFile settings(dir.File("Config.ini"));
    settings.EnsureDefaults();
    EXPECT_EQ(dir.Read("Config.ini"),
              "[PCSetting]\nPortScanMode=Auto\nCom=1\nbps=115200\n"
              "[AHRSSetting]\nbps=115200\nOutputRate=50\n"
              "[ProductSetting]\nProduct=Vantrel\n");
}

TEST(SettingsFile, ExistingValuesStayAndMissingOrEmptyOnesAreCompleted) {
    TempDir dir;
    dir.Write("Config.ini", "[PCSetting]\nCom=5\n[ProductSetting]\nProduct=\n");
    SettingsFile settings(dir.File("Config.ini"));
    settings.EnsureDefaults();
    EXPECT_EQ(settings.ReadInt("PCSetting", "Com", 12), 5);
    EXPECT_EQ(settings.ReadText("PCSetting", "PortScanMode"), "Auto");
    EXPECT_EQ(settings.ReadText("PCSetting", "bps"), "115200");
    EXPECT_EQ(settings.ReadText("AHRSSetting", "OutputRate"), "50");
    EXPECT_EQ(settings.ReadText("ProductSetting", "Product"), "Vantrel");
    // Completed, never rewritten: a second start changes nothing.
    const std::string once = dir.Read("Config.ini");
    settings.EnsureDefaults();
    EXPECT_EQ(dir.Read("Config.ini"), once);
}

}  // namespace
}  // namespace zephran
