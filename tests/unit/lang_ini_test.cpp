#include <gtest/gtest.h>

#include "lang/lang_ini.h"
#include "lang/language_setting.h"
#include "lang/text_encoding.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using testing::TempDir;

class LangIniTest : public ::testing::Test {
protected:
    bool Load(const std::string& name, const std::string& bytes) {
        store.SetPath(dir.Write(name, bytes));
        return store.Load();
    }
    TempDir dir;
    CLangIni store;
};

TEST_F(LangIniTest, LineRules) {
    ASSERT_TRUE(Load("a.ini",
                     "top=before any section\n"
                     "[Panel]\r\n"
                     "RX=Received\r\n"
                     "TX = Sent\r\n"
                     "; RX=commented\n"
                     "\n"
                     "[[Tree]]\n"
                     "AHRS=Attitude\n"
                     "[Tree\n"
                     "a=b=c\n"
                     "[]\n"
                     "x=empty section\n"));
    EXPECT_EQ(store.LangText("", "top"), "before any section");
    EXPECT_EQ(store.LangText("Panel", "RX"), "Received");
    // Nothing is trimmed around '=': the key is "TX " and the value " Sent".
    EXPECT_EQ(store.LangText("Panel", "TX"), "");
    EXPECT_EQ(store.LangText("Panel", "TX "), " Sent");
    EXPECT_EQ(store.LangText("Tree", "AHRS"), "Attitude");
    // No closing bracket and no '=': an entry with the empty key, the line less its first char.
    EXPECT_EQ(store.LangText("Tree", ""), "Tree");
    EXPECT_EQ(store.LangText("Tree", "a"), "b=c");
    EXPECT_EQ(store.LangText("", "x"), "empty section");
    // Lookups are case-sensitive.
    EXPECT_EQ(store.LangText("panel", "RX"), "");
    EXPECT_EQ(store.LangText("Panel", "rx"), "");
}

TEST_F(LangIniTest, RepeatedKeysReplaceAndLoadsAccumulate) {
    ASSERT_TRUE(
        Load("english.ini", "[DlgOSD]\nTitle=OSD\nm_ButtonSet=Set\n[DlgOSD]\nm_ButtonSet=Apply\n"));
    EXPECT_EQ(store.LangText("DlgOSD", "m_ButtonSet"), "Apply");
    ASSERT_TRUE(Load("other.ini", "[DlgOSD]\nm_ButtonSet=Setzen\n"));
    EXPECT_EQ(store.LangText("DlgOSD", "m_ButtonSet"), "Setzen");
    EXPECT_EQ(store.LangText("DlgOSD", "Title"), "OSD");
}

TEST_F(LangIniTest, MissingFileLeavesStoreUnchanged) {
    ASSERT_TRUE(Load("a.ini", "[S]\nk=v\n"));
    store.SetPath(dir.File("absent.ini"));
    EXPECT_FALSE(store.Load());
    EXPECT_EQ(store.LangText("S", "k"), "v");
}

TEST_F(LangIniTest, OverlongLineEndsReading) {
    const std::string longLine = "k2=" + std::string(CLangIni::kMaxLineLength, 'x');
    ASSERT_TRUE(Load("a.ini", "[S]\nk1=kept\n" + longLine + "\nk3=never read\n"));
    EXPECT_EQ(store.LangText("S", "k1"), "kept");
    EXPECT_EQ(store.LangText("S", "k2"), "");
    EXPECT_EQ(store.LangText("S", "k3"), "");
    const std::string fits = "k=" + std::string(CLangIni::kMaxLineLength - 2, 'y');
    ASSERT_TRUE(Load("b.ini", "[T]\n" + fits + "\n"));
    EXPECT_EQ(store.LangText("T", "k").size(), CLangIni::kMaxLineLength - 2);
}

TEST_F(LangIniTest, Utf8WithOrWithoutByteOrderMark) {
    ASSERT_TRUE(Load("bom.ini", "\xEF\xBB\xBF[Tree]\nAHRS=\xE5\xA7\xBF\xE6\x80\x81\n"));
    EXPECT_EQ(store.LangText("Tree", "AHRS"), "\xE5\xA7\xBF\xE6\x80\x81");  // 姿态
}

TEST_F(LangIniTest, NonUtf8FilesAreReadAsGb18030) {
    // "读取" in GB2312 bytes.
    ASSERT_TRUE(Load("gbk.ini", "[DlgOSD]\nm_ButtonRead=\xB6\xC1\xC8\xA1\r\n"));
    EXPECT_EQ(store.LangText("DlgOSD", "m_ButtonRead"), "\xE8\xAF\xBB\xE5\x8F\x96");
}

TEST(TextEncoding, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("\xE8\xAF\xBB\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xB6\xC1"));
    EXPECT_FALSE(IsValidUtf8("\xE8\xAF"));          // truncated at the end
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
}

TEST(TextEncoding, BrokenGb18030SequencesBecomeReplacementCharacters) {
    EXPECT_EQ(Gb18030ToUtf8("a\xB6"), "a\xEF\xBF\xBD");
    EXPECT_EQ(Gb18030ToUtf8("\xFF"
                            "b\xB6\xC1"),
              "\xEF\xBF\xBD"
              "b\xE8\xAF\xBB");
}

TEST(LanguageSetting, KeptInTheUserProfile) {
    TempDir dir;
    const LanguageSetting setting(dir.File("ZephranFPV/profile.ini"));
    EXPECT_EQ(setting.Read(), "");
    ASSERT_TRUE(setting.Write("chinese"));
    EXPECT_EQ(setting.Read(), "chinese");
    ASSERT_TRUE(setting.Write(""));
    EXPECT_EQ(setting.Read(), "");
    EXPECT_EQ(dir.Read("ZephranFPV/profile.ini"), "[Settings]\nLanguage=\n");
}

}  // namespace
}  // namespace zephran
