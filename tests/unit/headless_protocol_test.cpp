#include "frontends/headless/protocol.h"

#include <gtest/gtest.h>

namespace zephran::headless {
namespace {

using Lines = std::vector<std::string>;

TEST(HeadlessText, LineBreaksBecomeEscapesAndNothingElseChanges) {
    EXPECT_EQ(EscapeLineBreaks("Application Error\r\nread(): I/O error\n"),
              "Application Error\\r\\nread(): I/O error\\n");
    EXPECT_EQ(EscapeLineBreaks("C:\\dir ±2 g 语言"), "C:\\dir ±2 g 语言");
    EXPECT_EQ(EscapeLineBreaks(""), "");
}

TEST(HeadlessText, SplitWordKeepsTheBlanksOfTheRest) {
    EXPECT_EQ(SplitWord("  set 1002  two  words "),
              (std::pair<std::string_view, std::string_view>("set", "1002  two  words ")));
    EXPECT_EQ(SplitWord("1002  two"),
              (std::pair<std::string_view, std::string_view>("1002", " two")));
    // "set 1002 " gives the empty text, as "set 1002" does.
    EXPECT_EQ(SplitWord("1002 ").second, "");
    EXPECT_EQ(SplitWord("quit"), (std::pair<std::string_view, std::string_view>("quit", "")));
    EXPECT_TRUE(SplitWord(" \t ").first.empty());
}

TEST(HeadlessText, WordsSplitAtRunsOfBlanksAndTabs) {
    EXPECT_EQ(Words(" choose\t1101  0 "), (std::vector<std::string_view>{"choose", "1101", "0"}));
    EXPECT_TRUE(Words("   ").empty());
}

TEST(HeadlessText, NumbersAreWholeDecimalsInRange) {
    EXPECT_EQ(ParseNumber("2500", 0, 3000), 2500);
    EXPECT_EQ(ParseNumber("0", 0, 3000), 0);
    EXPECT_EQ(ParseNumber("3000", 0, 3000), 3000);
    for (const char* bad :
         {"", "-1", "3001", "12x", "x12", "+5", " 5", "0x10", "1e3", "99999999999999999999999"}) {
        EXPECT_FALSE(ParseNumber(bad, 0, 3000)) << bad;
    }
}

ui::Menu SampleBar() {
    ui::Menu bar;
    ui::Menu& pc = bar.AppendPopup("Connection");
    pc.AppendItem("Automatic Port Scan", 1239, true);
    pc.AppendItem("Manual Port", 1240);
    ui::Menu& ports = pc.AppendPopup("Port", true);
    ports.AppendItem("COM1", 1453);
    ports.AppendPopup("More").AppendItem("COM9", 1461);
    pc.AppendItem("Two\nlines", 7, false, true);
    return bar;
}

TEST(HeadlessMenu, AnItemUnderAGreyedPopupAtAnyDepthIsGreyed) {
    const ui::Menu bar = SampleBar();
    const MenuHit manual = FindMenuCommand(bar, 1240);
    ASSERT_TRUE(manual.item);
    EXPECT_EQ(manual.item->text, "Manual Port");
    EXPECT_FALSE(manual.grayed);
    EXPECT_TRUE(FindMenuCommand(bar, 1453).grayed);
    EXPECT_TRUE(FindMenuCommand(bar, 1461).grayed);
    EXPECT_TRUE(FindMenuCommand(bar, 7).grayed);
}

TEST(HeadlessMenu, PopupsAreNotCommands) {
    const ui::Menu bar = SampleBar();
    EXPECT_FALSE(FindMenuCommand(bar, 0).item);
    EXPECT_FALSE(FindMenuCommand(bar, 1454).item);
}

TEST(HeadlessMenu, ListsItemsIndentedWithMarksAndCommands) {
    EXPECT_EQ(FormatMenu(SampleBar()), (Lines{
                                           "Connection",
                                           "  [x] Automatic Port Scan (1239)",
                                           "  Manual Port (1240)",
                                           "  Port (grey)",
                                           "    COM1 (1453)",
                                           "    More",
                                           "      COM9 (1461)",
                                           "  Two\\nlines (7) (grey)",
                                       }));
}

TEST(HeadlessTree, ListsNodesDepthFirstWithTheirKeys) {
    ui::TreeModel tree;
    const auto ahrs = tree.InsertItem("AHRS", 0, "AHRS");
    const auto update = tree.InsertItem("Update", 0, "Update");
    tree.InsertItem("Attitude View", ahrs, "AHRS_View");
    tree.InsertItem("Firmware Update", update, "Update_FirmwareUpdate");
    tree.InsertItem("FIR Filters", ahrs, "AHRS_Set_FIR");
    tree.InsertItem("No key", 0);
    EXPECT_EQ(FormatTree(tree), (Lines{
                                    "AHRS (AHRS)",
                                    "  Attitude View (AHRS_View)",
                                    "  FIR Filters (AHRS_Set_FIR)",
                                    "Update (Update)",
                                    "  Firmware Update (Update_FirmwareUpdate)",
                                    "No key",
                                }));
}

}  // namespace
}  // namespace zephran::headless
