#include <functional>

#include "app/language_dlg.h"
#include "app/menu_bar.h"
#include "support/dialog_fixture.h"

namespace zephran {
namespace {

using testing::DialogFixture;

// The tree as "key>child,child;key>child", from the node keys.
std::string TreeKeys(const ui::TreeModel& tree) {
    std::string out;
    for (auto root : tree.Roots()) {
        if (!out.empty()) out += ";";
        out += tree.Get(root)->key + ">";
        bool first = true;
        for (auto child : tree.Get(root)->children) {
            out += (first ? "" : ",") + tree.Get(child)->key;
            first = false;
        }
    }
    return out;
}

const ui::Menu::Item* Checked(const ui::Menu& menu) {
    for (const auto& item : menu.items) {
        if (item.checked) return &item;
    }
    return nullptr;
}

class MainWindowTest : public DialogFixture {
protected:
    const ui::Menu& Bar() { return dialog->MenuBar().Bar(); }
    void Select(const std::string& key) { dialog->Tree().SelectItem(dialog->Tree().FindKey(key)); }
};

TEST_F(MainWindowTest, ProductsDecideTreeAndDefaultPage) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n");
    Start();
    EXPECT_EQ(TreeKeys(dialog->Tree()),
              "AHRS>AHRS_View,AHRS_Set,AHRS_Set_FIR,AHRS_Cal,AHRS_ACC_CAL,AHRS_MAG_CAL;"
              "Data_Analyz>Analyz;Update>Update_FirmwareUpdate");
    EXPECT_EQ(dialog->Pages().Shown()->Id().className, "CDlgAHRS");
    EXPECT_EQ(dialog->Pages().ActivePageCode(), kPageAhrsView);
    EXPECT_EQ(dialog->Tree().GetItemText(dialog->Tree().Roots()[0]), Text("Tree", "AHRS"));

    dialog->OnCommand(1224);  // GPSINS shares the three calibration pages
    EXPECT_EQ(TreeKeys(dialog->Tree()),
              "GPSINS>GPSINS_View,GPSINS_Set,GPSINS_Set_Misc,AHRS_Cal,AHRS_ACC_CAL,AHRS_MAG_CAL;"
              "Data_Analyz>Analyz;Update>Update_FirmwareUpdate");
    EXPECT_EQ(dialog->Pages().ActivePageCode(), kPageGpsInsView);

    dialog->OnCommand(1221);  // Standard keeps the page code
    EXPECT_EQ(dialog->Pages().Shown()->Id().className, "CDlgAirplanePIDInnerLoop");
    EXPECT_EQ(dialog->Pages().ActivePageCode(), kPageGpsInsView);
}

TEST_F(MainWindowTest, UnknownProductHasOnlyTheUpdateNodeAndNoPage) {
    WriteConfig("[ProductSetting]\nProduct=Glider\n");
    Start();
    EXPECT_EQ(TreeKeys(dialog->Tree()), "Update>Update_FirmwareUpdate");
    EXPECT_EQ(dialog->Pages().Shown(), nullptr);
    EXPECT_TRUE(Bar().items[0].popup->items.empty());
}

TEST_F(MainWindowTest, TreeSelectionSwitchesPagesAndTopNodesChangeNothing) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n");
    Start();
    Select("AHRS_Cal");
    EXPECT_EQ(dialog->Pages().Shown()->Id().treeKey, "AHRS_Cal");
    EXPECT_EQ(dialog->Pages().ActivePageCode(), kPageSensorCalibrate);
    Select("AHRS");
    EXPECT_EQ(dialog->Pages().Shown()->Id().treeKey, "AHRS_Cal");
    Select("AHRS_Set");
    EXPECT_EQ(dialog->Pages().ActivePageCode(), kPageNotLive);
    EXPECT_EQ(dialog->Pages().Shown()->GetWindowText(), Text("DlgAHRSSetting", "Title"));
}

TEST_F(MainWindowTest, MenuBarFollowsTheSettings) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n[PCSetting]\nbps=31250\n");
    devices.AddDevice("/dev/ttyUSB0");
    devices.AddDevice("/dev/ttyUSB1");
    Start();
    ASSERT_EQ(Bar().items.size(), 5u);
    EXPECT_EQ(Bar().items[3].text, Text("Ahrs Configure", "0000"));
    EXPECT_EQ(Bar().items[3].popup->items.size(), 9u);
    EXPECT_EQ(Checked(*Bar().items[0].popup)->command, 1223u);
    const ui::Menu& pc = *Bar().items[2].popup;
    EXPECT_TRUE(pc.items[0].checked);
    EXPECT_FALSE(pc.items[1].checked);
    EXPECT_TRUE(pc.items[2].grayed);
    EXPECT_EQ(pc.items[2].popup->items.size(), 2u);
    EXPECT_EQ(pc.items[2].popup->items[1].command, kCmdPortBase + 2);
    // A rate outside the list ticks 115200.
    EXPECT_EQ(Checked(*pc.items[3].popup)->command, 1208u);

    dialog->OnCommand(1207);
    EXPECT_EQ(Checked(*Bar().items[2].popup->items[3].popup)->command, 1207u);
    EXPECT_EQ(Pane(2), "57600");
    // AHRS keeps the PC settings; any other product resets them and loses the board popup.
    dialog->OnCommand(1223);
    EXPECT_EQ(dialog->Settings().ReadText("PCSetting", "bps"), "57600");
    dialog->OnCommand(kCmdManualPort);
    dialog->OnCommand(1222);
    EXPECT_EQ(dialog->Settings().ReadText("PCSetting", "bps"), "115200");
    EXPECT_EQ(dialog->Settings().ReadText("PCSetting", "PortScanMode"), "Auto");
    EXPECT_EQ(Bar().items.size(), 4u);
}

TEST_F(MainWindowTest, ManualModeTicksAndEnablesThePortMenu) {
    WriteConfig("[PCSetting]\nPortScanMode=auto\n");
    Start();
    const ui::Menu& pc = *Bar().items[2].popup;
    EXPECT_FALSE(pc.items[0].checked);
    EXPECT_TRUE(pc.items[1].checked);
    EXPECT_FALSE(pc.items[2].grayed);
    EXPECT_TRUE(pc.items[2].popup->items.empty());
}

TEST_F(MainWindowTest, BoardOptionsSendTheirCode) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n");
    devices.AddDevice("/dev/ttyUSB0", true);
    Start();
    Advance(1000);
    dialog->OnCommand(1187);  // board baud 128000: code 11
    EXPECT_EQ(dialog->Settings().ReadText("AHRSSetting", "bps"), "128000");
    EXPECT_EQ(link->written.back(), testing::FakeLink::Frame(12, 2, {11}));
    dialog->OnCommand(1396);  // data output mode, fourth item
    EXPECT_EQ(link->written.back(), testing::FakeLink::Frame(15, 37, {3}));
    dialog->OnCommand(1258);
    EXPECT_EQ(link->written.back(), testing::FakeLink::Frame(15, 71, {6}));
}

TEST_F(MainWindowTest, LanguageDialogSwitchesEveryText) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n");
    Start();
    const std::string englishTree = dialog->Tree().GetItemText(dialog->Tree().Roots().back());
    host.onModal = [](ui::Window& window) {
        const auto& names = window.Find(kIdLanguageList)->entries;
        ASSERT_EQ(names, (std::vector<std::string>{"chinese", "english"}));
        EXPECT_EQ(window.GetCurSel(kIdLanguageList), 1);  // the language in use
        window.UserChoose(kIdLanguageList, 0);
        window.UserClick(ui::IDOK);
    };
    dialog->OnCommand(kCmdLanguage);
    EXPECT_EQ(dialog->Language().Setting().Read(), "chinese");
    EXPECT_NE(dialog->Tree().GetItemText(dialog->Tree().Roots().back()), englishTree);
    EXPECT_EQ(dialog->Tree().GetItemText(dialog->Tree().Roots().back()), Text("Tree", "Update"));
    EXPECT_EQ(Pane(0), Text("Panel", "Change Language"));
    EXPECT_EQ(dialog->Pages().Find("Helicopter_Autopilot")->GetWindowText(),
              Text("Tree", "Helicopter_Autopilot"));
    EXPECT_EQ(Bar().items[0].text, Text("Product Menu", "1000"));
    EXPECT_TRUE(Log().empty());
}

TEST_F(MainWindowTest, MissingLanguageFileClearsTheSettingAndKeepsTheTree) {
    dir.Write("config/ZephranFPV/profile.ini", "[Settings]\nLanguage=klingon\n");
    Start();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].substr(0, 1), " ");
    EXPECT_NE(host.messages[0].find("klingon.ini"), std::string::npos);
    EXPECT_EQ(dialog->Language().Setting().Read(), "");
    // Without a language the tree is not built.
    EXPECT_TRUE(dialog->Tree().Roots().empty());
    // The menu bar keeps the program's own captions, with its whole structure.
    ASSERT_EQ(Bar().items.size(), 4u);
    EXPECT_EQ(Bar().items[0].text, "Product");
    EXPECT_EQ(Bar().items[0].popup->items[3].text, "AHRS");
    EXPECT_EQ(Bar().items[2].popup->items[3].popup->items[10].text, "115200");
    EXPECT_EQ(Bar().items[3].popup->items[0].text, "ZephranFPV Website");
    dialog->ApplyLanguageRefresh();
    EXPECT_EQ(Bar().items[1].text, "Language");
}

TEST_F(MainWindowTest, NoLanguageSettingFallsBackToEnglish) {
    dir.Write("config/ZephranFPV/profile.ini", "");
    Start();
    EXPECT_EQ(host.messages[0], "Err,No Language Setting ,defaut set to english");
    EXPECT_EQ(dialog->Language().Setting().Read(), "english");
    EXPECT_FALSE(dialog->Tree().Roots().empty());
}

TEST_F(MainWindowTest, HelpOpensTheMakersPage) {
    Start();
    dialog->OnCommand(kCmdHelp);
    EXPECT_EQ(host.opened, std::vector<std::string>{kMakerWebPage});
}

}  // namespace
}  // namespace zephran
