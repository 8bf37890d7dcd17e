// A language file that answers less than half of the program's texts is named once.
#include <gtest/gtest.h>

#include <random>

#include "app/language_coverage.h"
#include "platform/app_paths.h"
#include "support/dialog_fixture.h"

namespace zephran {
namespace {

using testing::DialogFixture;

TEST(LanguageCoverage, ShippedFilesAnswerTheWholeVocabulary) {
    for (const char* name : {"english.ini", "chinese.ini"}) {
        const VocabularyCoverage coverage =
            MeasureVocabulary(ExecutableDir() + "/Language/" + name);
        EXPECT_GT(coverage.total, 100u);
        EXPECT_EQ(coverage.answered, coverage.total) << name;
    }
}

TEST(LanguageCoverage, FilesThatYieldNoTextsAreToldOncePerFile) {
    testing::TempDir dir;
    std::mt19937 random(3);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string files[] = {
        dir.Write("noise.ini", noise),
        dir.Write("empty.ini", ""),
        dir.Write("long.ini", std::string(3000, 'x') + "\n[Tree]\nAHRS=AHRS\n"),
    };
    LanguageCoverageCheck check;
    for (const std::string& file : files) {
        const auto told = check.Check(file);
        ASSERT_TRUE(told) << file;
        EXPECT_NE(told->find("The language file " + file + " answers only 0 of"), std::string::npos)
            << *told;
        EXPECT_FALSE(check.Check(file)) << "told twice about " << file;
    }
    EXPECT_FALSE(check.Check(ExecutableDir() + "/Language/english.ini"));
}

// A file that has this one text at least tells it in its own words.
TEST(LanguageCoverage, TheWarningIsInTheFilesLanguageWhereItHasIt) {
    testing::TempDir dir;
    const std::string file =
        dir.Write("partial.ini", "[LanguageFiles]\nFew Texts=%1: %2/%3\n[Tree]\nAHRS=AHRS\n");
    const VocabularyCoverage coverage = MeasureVocabulary(file);
    LanguageCoverageCheck check;
    EXPECT_EQ(check.Check(file), file + ": " + std::to_string(coverage.answered) + "/" +
                                     std::to_string(coverage.total));
}

class LanguageCoverageDialog : public DialogFixture {};

TEST_F(LanguageCoverageDialog, StartWithAnEmptyLanguageFileNamesItOnce) {
    const std::string file = dir.Write("app/Language/english.ini", "");
    devices.AddDevice("/dev/ttyUSB0");
    Start();
    ASSERT_EQ(host.messages.size(), 1u) << ::testing::PrintToString(host.messages);
    EXPECT_NE(host.messages[0].find(file), std::string::npos) << host.messages[0];
    dialog->Language().LoadFile(file);
    EXPECT_EQ(host.messages.size(), 1u);
    // The menus keep the program's own captions rather than going blank.
    const ui::Menu& bar = dialog->MenuBar().Bar();
    ASSERT_FALSE(bar.items.empty());
    EXPECT_EQ(bar.items[0].text, "Product");
    EXPECT_EQ(bar.items.back().popup->items[0].text, "ZephranFPV Website");
}

}  // namespace
}  // namespace zephran
