// The listings and the modal language dialog of the headless front end, with ports present but
// no board on them.
#include <gtest/gtest.h>

#include <algorithm>

#include "headless_driver.h"
#include "pty_pair.h"

namespace zephran::test {
namespace {

bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class HeadlessProtocol : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(first_.IsValid() && second_.IsValid());
    }
    std::vector<std::string> TwoPorts(const std::vector<std::string>& more = {}) const {
        return Arguments({first_.SlavePath(), second_.SlavePath()}, more);
    }

    PtyPair first_;
    PtyPair second_;
};

TEST_F(HeadlessProtocol, TreeListsTheProductsPagesAndPageSelectsByKey) {
    Configure("Auto", 1, "AHRS");
    HeadlessDriver app(TwoPorts());
    EXPECT_EQ(app.Listing("tree"), (Lines{
                                       "AHRS (AHRS)",
                                       "  Attitude View (AHRS_View)",
                                       "  AHRS Settings (AHRS_Set)",
                                       "  FIR Filters (AHRS_Set_FIR)",
                                       "  Sensor Calibration (AHRS_Cal)",
                                       "  Accelerometer Six-Face (AHRS_ACC_CAL)",
                                       "  Magnetometer Six-Face (AHRS_MAG_CAL)",
                                       "Data (Data_Analyz)",
                                       "  Data Recording (Analyz)",
                                       "Update (Update)",
                                       "  Firmware Update (Update_FirmwareUpdate)",
                                   }));
    EXPECT_EQ(app.Command("page AHRS_Set"), (Lines{"ok"}));
    // The GPS/INS pages are not in the AHRS tree.
    EXPECT_EQ(app.Command("page GPSINS_View"), (Lines{"error: no tree node GPSINS_View"}));
}

TEST_F(HeadlessProtocol, MenuBarMarksAndGreyingFollowTheSettings) {
    Configure("Auto", 1, "AHRS");
    HeadlessDriver app(TwoPorts());
    Lines bar = app.Listing("menubar");
    const Lines expected{"Product",
                         "  Vantrel OSD (1220)",
                         "  [x] AHRS (1223)",
                         "Connection",
                         "  [x] Automatic Port Scan (1239)",
                         "  Manual Port (1240)",
                         "  Port (grey)",
                         "    COM1 " + first_.SlavePath() + " (1453)",
                         "    COM2 " + second_.SlavePath() + " (1454)",
                         "  Baud Rate",
                         "    57600 (1207)",
                         "    [x] 115200 (1208)",
                         "AHRS Settings",
                         "  Output Rate",
                         "    10 Hz (1211)",
                         "Help"};
    for (const std::string& line : expected) {
        EXPECT_TRUE(Has(bar, line)) << line;
    }
    EXPECT_EQ(app.Command("menu 1453"), (Lines{"error: menu item 1453 is greyed"}));

    app.Command("menu 1207");
    EXPECT_EQ(app.Pane(2), "57600");
    bar = app.Listing("menubar");
    EXPECT_TRUE(Has(bar, "    [x] 57600 (1207)"));
    EXPECT_TRUE(Has(bar, "    115200 (1208)"));

    app.Command("menu 1240");
    bar = app.Listing("menubar");
    EXPECT_TRUE(Has(bar, "  Automatic Port Scan (1239)"));
    EXPECT_TRUE(Has(bar, "  [x] Manual Port (1240)"));
    EXPECT_TRUE(Has(bar, "  Port"));
    EXPECT_EQ(app.Command("menu 1454"), (Lines{"ok"}));
    EXPECT_EQ(app.Pane(1), "COM2");

    // Any product but AHRS goes back to the automatic scan at 115200 and drops the board menu.
    app.Command("menu 1224");
    bar = app.Listing("menubar");
    EXPECT_TRUE(Has(bar, "  [x] GPS/INS (1224)"));
    EXPECT_TRUE(Has(bar, "  [x] Automatic Port Scan (1239)"));
    EXPECT_TRUE(Has(bar, "    [x] 115200 (1208)"));
    EXPECT_FALSE(Has(bar, "AHRS Settings"));
    EXPECT_EQ(app.Command("menu 1211"), (Lines{"error: no menu item 1211"}));
    EXPECT_EQ(app.Listing("tree").front(), "GPS/INS (GPSINS)");
}

TEST_F(HeadlessProtocol, LanguageDialogTakesTheCommandsUntilItEnds) {
    Configure("Auto", 1, "AHRS");
    HeadlessDriver app(TwoPorts({"--virtual-time"}));
    EXPECT_EQ(app.Command("menu 131").back(), "modal: Language");
    EXPECT_EQ(app.Get(1100), "Choose Language:");
    // Only two language files: chinese, english.
    EXPECT_EQ(app.Command("choose 1101 2"),
              (Lines{"error: control 1101 does not take that input"}));
    // The main window is out of reach meanwhile, but time goes on.
    EXPECT_EQ(app.Command("menu 1223"), (Lines{"error: a modal window is open"}));
    EXPECT_EQ(app.Command("page AHRS_Set"), (Lines{"error: a modal window is open"}));
    EXPECT_EQ(app.Command("wait 1500"), (Lines{"ok"}));
    EXPECT_EQ(app.Pane(1), "COM1");
    EXPECT_EQ(app.Command("choose 1101 0"), (Lines{"ok"}));
    EXPECT_EQ(app.Command("click 1"), (Lines{"ok"}));
    EXPECT_EQ(app.Answer("menu 131"), (Lines{"ok"}));

    EXPECT_EQ(app.Command("get 1100"), (Lines{"error: no control 1100"}));
    EXPECT_EQ(app.Pane(0), "语言已切换");
    EXPECT_EQ(app.Listing("menubar").front(), "产品");
    EXPECT_TRUE(Has(app.Listing("tree"), "  AHRS设置 (AHRS_Set)"));
    EXPECT_EQ(app.Command("page AHRS_Set"), (Lines{"ok"}));
    EXPECT_NE(profileHome_.Read("ZephranFPV/profile.ini").find("Language=chinese"),
              std::string::npos);

    // Cancel keeps the language.
    EXPECT_EQ(app.Command("menu 131").back(), "modal: 语言");
    app.Command("choose 1101 1");
    EXPECT_EQ(app.Command("click 2"), (Lines{"ok"}));
    EXPECT_EQ(app.Answer("menu 131"), (Lines{"ok"}));
    EXPECT_EQ(app.Listing("menubar").front(), "产品");
}

TEST_F(HeadlessProtocol, VirtualTimeMovesTheScanOnePortPerSecond) {
    Configure("Auto", 1, "Vantrel");
    HeadlessDriver app(TwoPorts({"--virtual-time"}));
    app.Command("wait 999");
    EXPECT_EQ(app.Pane(1), "");
    app.Command("wait 1");
    EXPECT_EQ(app.Pane(1), "COM1");
    app.Command("wait 1000");
    EXPECT_EQ(app.Pane(1), "COM2");
    app.Command("wait 1000");
    EXPECT_EQ(app.Pane(1), "COM1");
    EXPECT_EQ(app.Listing("log"), (Lines{"**Connect**", "**Connect**", "**Connect**"}));
}

}  // namespace
}  // namespace zephran::test
