#include <gtest/gtest.h>

#include "gui_support.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/common/session.h"
#include "frontends/qt/main_window.h"
#include "frontends/qt/qt_host.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/autopilot/dlg_heli_page.h"
#include "pages/framework/parameter_field_info.h"
#include "support/temp_dir.h"

namespace zephran::qt {
namespace {

using testing::TempDir;

constexpr unsigned kCmdBaud57600 = 1207;
constexpr unsigned kCmdBaud115200 = 1208;
constexpr unsigned kCmdProductAat = 1222;
constexpr unsigned kCmdProductAhrs = 1223;
constexpr unsigned kCmdProductHelicopter = 1402;

// An AHRS set-up in a temporary folder with English chosen and no serial ports, so nothing
// but "No UartPort Dectect" is said at start.
class GuiMainWindow : public ::testing::Test {
protected:
    GuiMainWindow() {
        PrepareEnglishAhrs(dir, paths);
        window.show();
        window.Start();
        // The window settles (its first layout, maximised) before each test.
        QApplication::processEvents();
    }

    std::string Text(const char* section, const char* key) {
        return dialog.Language().Store().LangText(section, key);
    }
    void Trigger(unsigned command) {
        QAction* action = window.Menus().Action(command);
        ASSERT_NE(action, nullptr) << "command " << command;
        action->trigger();
        QApplication::processEvents();
    }
    bool Checked(unsigned command) {
        const QAction* action = window.Menus().Action(command);
        return action && action->isChecked();
    }
    // Clicks a tree node as a person would.
    void ClickNode(const char* key) {
        QTreeWidgetItem* item = window.Tree().ItemOf(dialog.Tree().FindKey(key));
        ASSERT_NE(item, nullptr) << key;
        QTest::mouseClick(window.Tree().viewport(), Qt::LeftButton, {},
                          window.Tree().visualItemRect(item).center());
    }
    const ui::Window* PageOnShow() {
        const WindowWidget* page = window.Pages().Current();
        return page ? &page->Model() : nullptr;
    }

    TempDir dir;
    AppPaths paths = PathsIn(dir);
    QtHost host{QtHost::Mode::Recording};
    VirtualClock clock;
    CZephranDlg dialog{host, clock, paths, NoPorts(dir)};
    MainWindow window{dialog, clock};
};

TEST_F(GuiMainWindow, StartsWithTheProductTreeAndPage) {
    EXPECT_EQ(window.windowTitle(), "ZephranFPV V3.5 — no port open");
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"No UartPort Dectect"});

    PageTreeWidget& tree = window.Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 3);  // AHRS, Data, Update
    EXPECT_EQ(tree.topLevelItem(0)->text(0).toStdString(), Text("Tree", "AHRS"));
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 6);
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        EXPECT_TRUE(tree.topLevelItem(i)->isExpanded());
    EXPECT_EQ(PageOnShow(), dialog.Pages().Find("AHRS_View"));
}

TEST_F(GuiMainWindow, SelectingANodeShowsItsPage) {
    ClickNode("AHRS_Set");
    ASSERT_EQ(PageOnShow(), dialog.Pages().Find("AHRS_Set"));
    const auto* heading =
        window.Pages().Current()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->text().toStdString(), dialog.Pages().Find("AHRS_Set")->GetWindowText());

    ClickNode("Update_FirmwareUpdate");
    EXPECT_EQ(PageOnShow(), dialog.Pages().Find("Update_FirmwareUpdate"));
    // A top node stands for no page: the page on show stays.
    ClickNode("AHRS");
    EXPECT_EQ(PageOnShow(), dialog.Pages().Find("Update_FirmwareUpdate"));
    ClickNode("AHRS_View");
    EXPECT_EQ(PageOnShow(), dialog.Pages().Find("AHRS_View"));
}

TEST_F(GuiMainWindow, MenuCommandsMoveTheirCheckMarks) {
    EXPECT_TRUE(Checked(kCmdBaud115200));
    Trigger(kCmdBaud57600);
    EXPECT_TRUE(Checked(kCmdBaud57600));
    EXPECT_FALSE(Checked(kCmdBaud115200));
    LetThrottledDisplaysCatchUp();
    EXPECT_EQ(window.Status().Pane(2)->text(), "57600");

    EXPECT_TRUE(Checked(kCmdProductAhrs));
    Trigger(kCmdProductAat);
    EXPECT_TRUE(Checked(kCmdProductAat));
    EXPECT_FALSE(Checked(kCmdProductAhrs));
    EXPECT_EQ(window.Tree().topLevelItem(0)->text(0).toStdString(), Text("Tree", "AAT"));
    EXPECT_EQ(PageOnShow(), dialog.Pages().Find("AAT_Servo_Set"));
}

TEST_F(GuiMainWindow, ACheckedItemChosenAgainKeepsItsMark) {
    Trigger(kCmdProductAhrs);
    EXPECT_TRUE(Checked(kCmdProductAhrs));
    EXPECT_TRUE(window.Menus().Action(kCmdProductAhrs)->isCheckable());
    EXPECT_FALSE(window.Menus().Action(kCmdProductAat)->isCheckable());
}

TEST_F(GuiMainWindow, GreyedPopupsCannotBeOpened) {
    // The port list is greyed while the ports are scanned automatically.
    const QString portMenu = QString::fromStdString(Text("PC Configure", "1000"));
    const QMenu* found = nullptr;
    for (const QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
        if (menu->title() == portMenu) found = menu;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_FALSE(found->menuAction()->isEnabled());
}

TEST_F(GuiMainWindow, StatusPanesShowTheirTextsAtTheirWidths) {
    StatusPanes& status = window.Status();
    LetThrottledDisplaysCatchUp();
    EXPECT_EQ(status.Pane(0)->text().toStdString(), Text("Panel", "Try Hardware Concect"));
    EXPECT_EQ(status.Pane(2)->text(), "115200");
    EXPECT_EQ(status.Pane(3)->text().toStdString(), Text("Panel", "RX") + " 0");
    EXPECT_EQ(status.Pane(4)->text().toStdString(), Text("Panel", "TX") + " 0");

    dialog.SetStatus(kStatusReceive, "RX 42", 0);
    dialog.SetStatus(kStatusPort, "COM3", 0);
    dialog.SetStatus(kStatusProgress, "", 40);
    LetThrottledDisplaysCatchUp();
    EXPECT_EQ(status.Pane(3)->text(), "RX 42");
    EXPECT_EQ(status.Pane(1)->text(), "COM3");
    EXPECT_EQ(status.Progress()->value(), 40);

    // 30, 10, 10, 10, 10 and 30 % of the bar, whatever the texts.
    dialog.SetStatus(kStatusMain, std::string(200, 'W'), 0);
    window.resize(1200, 600);
    QApplication::processEvents();
    const double tenth = status.Pane(1)->width();
    EXPECT_GT(tenth, 0);
    EXPECT_NEAR(status.Pane(0)->width() / tenth, 3.0, 0.2);
    EXPECT_NEAR(status.Pane(4)->width() / tenth, 1.0, 0.1);
    EXPECT_NEAR(status.Progress()->width() / tenth, 3.0, 0.3);
}

TEST_F(GuiMainWindow, StatusPanesSayWhatTheyShow) {
    StatusPanes& status = window.Status();
    LetThrottledDisplaysCatchUp();
    EXPECT_EQ(status.Pane(1)->toolTip().toStdString(), Text("Panel", "Tip Port"));
    EXPECT_EQ(status.Pane(3)->toolTip().toStdString(), Text("Panel", "Tip RX"));
    EXPECT_EQ(status.Pane(4)->toolTip().toStdString(), Text("Panel", "Tip TX"));
    EXPECT_EQ(status.Progress()->toolTip().toStdString(), Text("Panel", "Tip Progress"));
    // The tip stays when the text changes.
    dialog.SetStatus(kStatusReceive, "RX 42", 0);
    LetThrottledDisplaysCatchUp();
    EXPECT_EQ(status.Pane(3)->toolTip().toStdString(), Text("Panel", "Tip RX"));
}

TEST_F(GuiMainWindow, TheParameterToolBarSitsAboveThePagesAndFieldsShowTheirTips) {
    ParameterToolBar& bar = window.ParameterBar();
    EXPECT_EQ(bar.SaveAction().text().toStdString(), "Save…");
    EXPECT_EQ(bar.LoadAction().text().toStdString(), "Load…");
    EXPECT_EQ(bar.CompareAction().text().toStdString(), "Compare…");
    EXPECT_FALSE(bar.CancelAction().isEnabled());
    EXPECT_TRUE(bar.SaveAction().isEnabled());
    const QPoint barBottom = bar.mapTo(&window, QPoint(0, bar.height()));
    const QPoint pagesTop = window.Pages().mapTo(&window, QPoint(0, 0));
    EXPECT_LE(barBottom.y(), pagesTop.y());
    EXPECT_EQ(bar.mapTo(&window, QPoint(0, 0)).x(), pagesTop.x());
    // A recording host chooses no file: nothing starts and nothing is said.
    const std::size_t said = host.Messages().size();
    bar.SaveAction().trigger();
    EXPECT_FALSE(dialog.Parameters().Busy());
    EXPECT_EQ(host.Messages().size(), said);

    ClickNode("AHRS_Set");
    const QWidget* box = window.Pages().Current()->ControlWidget(CDlgAHRSSetting::kGyroNoise);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toolTip().toStdString(),
              FieldTip(CDlgAHRSSetting::kNoise.fields[0], dialog.Texts()));
    EXPECT_NE(box->toolTip().indexOf("attitude filter"), -1);
}

// The close box asks before an unwritten edit is lost; the recording host answers No.
TEST_F(GuiMainWindow, ClosingWithAnUnwrittenEditAsksAndNoKeepsTheWindow) {
    const std::size_t before = host.Messages().size();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(host.Messages().size(), before);
    window.show();
    ClickNode("AHRS_Set");
    auto* box = qobject_cast<QLineEdit*>(
        window.Pages().Current()->ControlWidget(CDlgAHRSSetting::kGyroNoise));
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "5");
    const std::size_t said = host.Messages().size();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(host.Messages().size(), said + 1);
    EXPECT_EQ(host.Messages().back(),
              "Some values were changed but not written to the board. Quit anyway?");
}

// The toolbar's captions and tips follow a change of language.
TEST_F(GuiMainWindow, TheParameterToolBarSpeaksTheChosenLanguage) {
    ASSERT_TRUE(dialog.Language().LoadFile(dialog.Paths().languageDir + "/chinese.ini"));
    dialog.ApplyLanguageRefresh();
    ParameterToolBar& bar = window.ParameterBar();
    EXPECT_EQ(bar.SaveAction().text().toStdString(), Text("ParameterFiles", "Save"));
    EXPECT_EQ(bar.CancelAction().toolTip().toStdString(), Text("ParameterFiles", "Tip Cancel"));
    EXPECT_NE(bar.SaveAction().text().toStdString(), "Save…");
}

// Gives the window this width and shows each of the program's pages in turn; the titles of
// those that scroll sideways, cut off on the right.
std::vector<std::string> PagesCutOffAt(MainWindow& window, CZephranDlg& dialog, int width) {
    window.resize(width, window.height());
    QApplication::processEvents();
    std::vector<std::string> cut;
    for (const auto& page : dialog.Pages().All()) {
        window.Pages().Show(page.get());
        QApplication::processEvents();
        if (window.Pages().horizontalScrollBar()->maximum() > 0)
            cut.push_back(page->GetWindowText());
    }
    return cut;
}

TEST_F(GuiMainWindow, NoPageIsCutOffOnTheRightAtAnyWindowSize) {
    // At the first size, every page of the product fits beside the tree.
    for (const auto& node : {"AHRS_View", "AHRS_Set", "AHRS_Set_FIR", "AHRS_Cal", "AHRS_ACC_CAL",
                             "AHRS_MAG_CAL", "Analyz"}) {
        ClickNode(node);
        QApplication::processEvents();
        EXPECT_EQ(window.Pages().horizontalScrollBar()->maximum(), 0) << node;
    }
    window.showNormal();
    int widest = 0;
    for (const auto& page : dialog.Pages().All())
        widest = std::max(widest, window.Pages().Add(*page).sizeHint().width());
    // Side by side, some pages want more than 1024 pixels; they fit in less by flowing down.
    EXPECT_GT(widest, 1024);
    const int smallest = window.minimumSizeHint().width();
    EXPECT_LT(smallest, 1024);
    for (const int width : {1024, (smallest + 1024) / 2, smallest, smallest / 2}) {
        EXPECT_EQ(PagesCutOffAt(window, dialog, width), std::vector<std::string>{}) << width;
        EXPECT_GE(window.width(), smallest);
    }
    // The tree cannot push the pages narrower either.
    window.ColumnSplitter().setSizes({window.width(), 1});
    QApplication::processEvents();
    EXPECT_GE(window.Pages().width(), window.Pages().minimumSizeHint().width());
    EXPECT_EQ(PagesCutOffAt(window, dialog, smallest), std::vector<std::string>{});
}

TEST_F(GuiMainWindow, FitsTheScreenAndCanShrinkToFullHdAtTwiceTheScale) {
    // The pages want more than this screen: the window takes it all, maximised, so that the
    // desktop fits its frame in too.
    EXPECT_TRUE(window.isMaximized());
    const QRect area = window.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window.frameGeometry()))
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    // 1920 x 1080 at 200 % leaves 960 x 540 logical pixels, less the desktop's panels.
    const QSize smallest = window.layout()->minimumSize();
    EXPECT_LE(smallest.width(), 900);
    EXPECT_LE(smallest.height(), 480);
}

TEST(GuiFirstStart, SizesTheWindowForThePagesAfterTheLanguageMessage) {
    // No language chosen yet: the messages run the event loop while the window is shown and its
    // page area still empty.
    TempDir dir;
    const AppPaths paths = PathsIn(dir);
    dir.Write("sys/.keep", "");
    dir.Write("dev/.keep", "");
    QtHost host;
    VirtualClock clock;
    CZephranDlg dialog{host, clock, paths, NoPorts(dir)};
    MainWindow window{dialog, clock};
    host.SetMainWindow(&window);
    // A person answers each message (the language, then no port found).
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    answer.start(100);
    window.show();
    window.Start();
    answer.stop();
    QApplication::processEvents();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_GE(window.width(), window.minimumSizeHint().width());
    EXPECT_TRUE(window.screen()->availableGeometry().contains(window.frameGeometry()));
}

// A second main window on the same user's files, as at the next start.
struct NextStart {
    NextStart(QtHost& host, const Clock& clock, const AppPaths& paths,
              const PortDirectoryOptions& ports)
        : dialog(host, clock, paths, ports), window(dialog, clock) {
        window.show();
        window.Start();
        QApplication::processEvents();
    }
    CZephranDlg dialog;
    MainWindow window;
};

TEST_F(GuiMainWindow, RemembersItsPlaceAndSplittersForTheUserApartFromConfigIni) {
    QRect geometry;
    QList<int> rows;
    QList<int> columns;
    {
        NextStart first(host, clock, paths, NoPorts(dir));
        first.window.showNormal();
        first.window.setGeometry(60, 40, 700, 500);
        QApplication::processEvents();
        first.window.RowSplitter().setSizes({250, 150});
        first.window.ColumnSplitter().setSizes({220, 480});
        geometry = first.window.geometry();
        rows = first.window.RowSplitter().sizes();
        columns = first.window.ColumnSplitter().sizes();
    }
    NextStart second(host, clock, paths, NoPorts(dir));
    EXPECT_EQ(second.window.geometry(), geometry);
    EXPECT_EQ(second.window.RowSplitter().sizes(), rows);
    EXPECT_EQ(second.window.ColumnSplitter().sizes(), columns);
    EXPECT_EQ(dir.Read("Config.ini").find("MainWindow"), std::string::npos);
    EXPECT_NE(dir.Read("window.ini").find("MainWindow"), std::string::npos);
}

TEST_F(GuiMainWindow, AWindowRememberedOnALargerScreenComesBackInsideThisOne) {
    {
        NextStart first(host, clock, paths, NoPorts(dir));
        first.window.showNormal();
        first.window.setGeometry(500, 300, 2400, 1500);
        QApplication::processEvents();
    }
    NextStart second(host, clock, paths, NoPorts(dir));
    const QRect area = second.window.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(second.window.frameGeometry()));
}

TEST_F(GuiMainWindow, ShowsTheBoardTextAndTheTrafficLog) {
    dialog.MainWindow().SetDlgItemText(kIdBoardText, "Zephran AHRS\r\nready");
    const auto* board =
        qobject_cast<QPlainTextEdit*>(window.BoardText().ControlWidget(kIdBoardText));
    ASSERT_NE(board, nullptr);
    // The throttled display catches up within its interval, later on a loaded machine.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return board->toPlainText().startsWith("Zephran AHRS"); }, 5000));
    EXPECT_TRUE(board->isReadOnly());
    EXPECT_TRUE(board->toPlainText().startsWith("Zephran AHRS"));

    dialog.TrafficList().AddString("first");
    dialog.TrafficList().AddString("second");
    ASSERT_EQ(window.TrafficLog().count(), 2);
    EXPECT_EQ(window.TrafficLog().item(1)->text(), "second");
    dialog.TrafficList().ResetContent();
    dialog.TrafficList().AddString("after");
    ASSERT_EQ(window.TrafficLog().count(), 1);
    EXPECT_EQ(window.TrafficLog().item(0)->text(), "after");
}

TEST_F(GuiMainWindow, HelicopterButtonsWithoutARequestAreGreyedAndSayWhy) {
    Trigger(kCmdProductHelicopter);
    const std::size_t said = host.Messages().size();
    for (const auto& [node, button] :
         {std::pair{"Helicopter_SwashPlate", int(HeliSwashplate::kRead)},
          std::pair{"Helicopter_RCCal", int(HeliRcCalibrate::kStart)},
          std::pair{"Helicopter_Mouting", int(HeliMounting::kWrite)},
          std::pair{"Helicopter_Autopilot", int(HeliAutopilot::kRead)}}) {
        ClickNode(node);
        QWidget* widget = window.Pages().Current()->ControlWidget(button);
        ASSERT_NE(widget, nullptr) << node;
        EXPECT_FALSE(widget->isEnabled()) << node;
        EXPECT_EQ(widget->toolTip().toStdString(), "This board takes no such request yet.");
        // A click on it is harmless: nothing happens, nothing is said.
        QTest::mouseClick(widget, Qt::LeftButton);
        EXPECT_EQ(host.Messages().size(), said) << node;
    }
    // The sign labels beside still flip.
    ClickNode("Helicopter_SwashPlate");
    auto* sign = qobject_cast<QAbstractButton*>(
        window.Pages().Current()->ControlWidget(HeliSwashplate::kAileSign));
    ASSERT_NE(sign, nullptr);
    EXPECT_TRUE(sign->isEnabled());
    QTest::mouseClick(sign, Qt::LeftButton);
    EXPECT_EQ(sign->text(), "-");
}

TEST_F(GuiMainWindow, TheKeyboardReachesTheMenuBarAndThePageButtons) {
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ClickNode("AHRS_Set");
    QWidget* read = window.Pages().Current()->ControlWidget(CDlgAHRSSetting::kRead);
    ASSERT_NE(read, nullptr);
    read->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    // No board: the request the button sends is refused with the usual message.
    const std::size_t said = host.Messages().size();
    QTest::keyClick(read, Qt::Key_Return);
    ASSERT_EQ(host.Messages().size(), said + 1);
    EXPECT_EQ(host.Messages().back(), Text("MessagBox", "Check Hardware Connect"));

    QTest::keyClick(read, Qt::Key_F10);
    QMenuBar& bar = *window.menuBar();
    EXPECT_EQ(bar.activeAction(), bar.actions().first());
    QTest::keyClick(&bar, Qt::Key_Right);
    EXPECT_EQ(bar.activeAction(), bar.actions().at(1));
    QTest::keyClick(&bar, Qt::Key_Escape);
    EXPECT_EQ(bar.activeAction(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), read);
}

TEST_F(GuiMainWindow, EnterAndEscapeLeaveTheWindowOpen) {
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
}

ui::WindowTemplate OneLabel(const std::string& text) {
    return {text, {{.id = 1, .kind = ui::ControlKind::Label, .text = text}}, ui::Item(1)};
}

TEST(GuiPageArea, AsksRoomForTheWidestPageButScrollsOnlyForIt) {
    QtHost host(QtHost::Mode::Recording);
    ui::Window wide(host, OneLabel(std::string(200, 'W')));
    ui::Window narrow(host, OneLabel("narrow"));
    PageArea area;
    area.Add(wide);
    area.Show(&narrow);
    area.resize(300, 200);
    area.show();
    QApplication::processEvents();
    EXPECT_EQ(&area.Current()->Model(), &narrow);
    EXPECT_GT(area.sizeHint().width(), 1000);
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());

    area.Show(&wide);
    QApplication::processEvents();
    EXPECT_EQ(&area.Current()->Model(), &wide);
    EXPECT_TRUE(area.horizontalScrollBar()->isVisible());
}

// The whole chain on real time: a simulated board on a pty, found by the scan, its replies
// arriving through the monitor thread's wake-ups and counted in the status panes.
TEST(GuiDemoSession, ConnectsAndCountsTheBoardsFrames) {
    TempDir dir;
    dir.Write("config/ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");
    struct UserConfigIn {
        explicit UserConfigIn(const std::string& path) {
            ::setenv("XDG_CONFIG_HOME", path.c_str(), 1);
        }
        ~UserConfigIn() { ::unsetenv("XDG_CONFIG_HOME"); }
    } userConfig(dir.File("config"));
    Options options;
    options.appDir = dir.File("app");
    options.demo = "AHRS";
    QtHost host(QtHost::Mode::Recording);
    SystemClock clock;
    Session session(options, host, clock);
    std::string error;
    ASSERT_TRUE(session.Start(error)) << error;
    MainWindow window(session.Dialog(), clock);
    window.show();
    window.Start();

    StatusPanes& status = window.Status();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status.Pane(1)->text() == "COM1" && !status.Pane(3)->text().endsWith(" 0"); },
        5000));
    EXPECT_NE(status.Pane(4)->text(), status.Pane(4)->text().section(' ', 0, 0) + " 0");
    // Connected: the title names the port, and no longer waits for the board.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !window.windowTitle().contains(QString::fromStdString(
                session.Dialog().Language().Store().LangText("Panel", "Title Waiting")));
        },
        5000));
    EXPECT_TRUE(window.windowTitle().startsWith("ZephranFPV V3.5 — COM1 /"))
        << window.windowTitle().toStdString();
    EXPECT_TRUE(host.Messages().empty());
}

}  // namespace
}  // namespace zephran::qt
