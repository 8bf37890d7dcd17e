#include <gtest/gtest.h>

#include "gui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include "frontends/qt/qt_host.h"
#include "frontends/qt/window_widget.h"
#include "ui/data_exchange.h"

namespace zephran::qt {
namespace {

enum : int {
    kLabel = 10,
    kEdit,
    kButton,
    kCheck,
    kGroup = 20,
    kRadioA,
    kRadioB,
    kDrop = 30,
    kList,
    kSpin = 40,
    kSlider,
    kProgress,
    kText = 50,
};

ui::WindowTemplate ProbeTemplate() {
    using ui::ControlKind;
    ui::WindowTemplate t;
    t.title = "Probe page";
    t.controls = {
        {.id = kLabel, .kind = ControlKind::Label, .text = "Gain"},
        {.id = kEdit, .kind = ControlKind::Edit, .text = "1.5", .widthChars = 12},
        {.id = kButton, .kind = ControlKind::Button, .text = "Read"},
        {.id = kCheck, .kind = ControlKind::CheckBox, .text = "Enable"},
        {.id = kGroup, .kind = ControlKind::GroupBox, .text = "Mode"},
        {.id = kRadioA, .kind = ControlKind::Radio, .text = "A", .checked = true, .radioGroup = 1},
        {.id = kRadioB, .kind = ControlKind::Radio, .text = "B", .radioGroup = 1},
        {.id = kDrop, .kind = ControlKind::DropDown, .entries = {"x", "y", "z"}, .selection = 0},
        {.id = kList, .kind = ControlKind::ListBox, .entries = {"one", "two"}},
        {.id = kSpin, .kind = ControlKind::Spin, .rangeMin = 0, .rangeMax = 10, .position = 3},
        {.id = kSlider, .kind = ControlKind::Slider, .position = 50},
        {.id = kProgress, .kind = ControlKind::Progress},
        {.id = kText, .kind = ControlKind::Edit, .readOnly = true, .multiline = true},
    };
    t.layout = ui::Column({
        ui::Grid(2, {ui::Item(kLabel), ui::Item(kEdit), ui::Item(kButton), ui::Stretch(),
                     ui::Item(kCheck)}),
        ui::Group(kGroup, {ui::Row({ui::Item(kRadioA), ui::Item(kRadioB)})}),
        ui::Row({ui::Item(kDrop), ui::Item(kList)}),
        ui::Row({ui::Item(kSpin), ui::Item(kSlider), ui::Item(kProgress)}),
        ui::Item(kText),
    });
    return t;
}

// Records what the window's handlers were told.
class ProbeWindow : public ui::Window {
public:
    explicit ProbeWindow(ui::HostServices& host) : ui::Window(host, ProbeTemplate()) {}
    std::vector<std::string> events;

protected:
    void OnCommand(int id) override { events.push_back("command " + std::to_string(id)); }
    void OnSelChange(int id) override { events.push_back("select " + std::to_string(id)); }
    void OnPositionChange(int id) override { events.push_back("pos " + std::to_string(id)); }
    void OnSpinRelease(int id) override { events.push_back("release " + std::to_string(id)); }
};

// Clicks a check box or radio button on its indicator, the part that takes clicks whatever
// room the layout gave the button.
void ClickIndicator(QAbstractButton* button, QStyle::SubElement indicator) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect rect = button->style()->subElementRect(indicator, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, rect.center());
}

class GuiWindowWidget : public ::testing::Test {
protected:
    template <typename W>
    W* Widget(int id) {
        W* widget = qobject_cast<W*>(view.ControlWidget(id));
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }

    QtHost host{QtHost::Mode::Recording};
    ProbeWindow window{host};
    WindowWidget view{window, WindowWidget::Role::Page};
};

TEST_F(GuiWindowWidget, DrawsEveryControlFromTheTemplate) {
    EXPECT_EQ(Widget<QLabel>(kLabel)->text(), "Gain");
    EXPECT_EQ(Widget<QLineEdit>(kEdit)->text(), "1.5");
    EXPECT_EQ(Widget<QPushButton>(kButton)->text(), "Read");
    EXPECT_FALSE(Widget<QCheckBox>(kCheck)->isChecked());
    EXPECT_EQ(Widget<QGroupBox>(kGroup)->title(), "Mode");
    EXPECT_TRUE(Widget<QRadioButton>(kRadioA)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(kRadioA)->autoExclusive());
    EXPECT_EQ(Widget<QComboBox>(kDrop)->count(), 3);
    EXPECT_EQ(Widget<QComboBox>(kDrop)->currentIndex(), 0);
    EXPECT_EQ(Widget<QListWidget>(kList)->count(), 2);
    EXPECT_EQ(Widget<QSpinBox>(kSpin)->maximum(), 10);
    EXPECT_EQ(Widget<QSpinBox>(kSpin)->value(), 3);
    EXPECT_EQ(Widget<QSlider>(kSlider)->value(), 50);
    EXPECT_EQ(Widget<QProgressBar>(kProgress)->value(), 0);
    EXPECT_TRUE(Widget<QPlainTextEdit>(kText)->isReadOnly());

    // The radio buttons sit inside their group box, the check box in the grid's third row.
    EXPECT_TRUE(Widget<QGroupBox>(kGroup)->isAncestorOf(view.ControlWidget(kRadioB)));
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    QGridLayout* cells = view.findChild<QGridLayout*>();
    ASSERT_NE(cells, nullptr);
    cells->getItemPosition(cells->indexOf(view.ControlWidget(kCheck)), &row, &column, &rowSpan,
                           &columnSpan);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(column, 0);

    // Room for the asked-for characters in the font in use.
    const QFontMetrics metrics(view.ControlWidget(kEdit)->font());
    EXPECT_GE(view.ControlWidget(kEdit)->minimumWidth(), metrics.averageCharWidth() * 12);
    EXPECT_EQ(view.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)->text(), "Probe page");
}

TEST_F(GuiWindowWidget, FollowsTheModel) {
    QSignalSpy titles(&view, &WindowWidget::titleChanged);
    window.SetWindowText("Renamed");
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.at(0).at(0).toString(), "Renamed");

    window.SetDlgItemText(kEdit, "2.25");
    window.SetDlgItemText(kGroup, "Modes");
    window.SetDlgItemText(kText, "line 1\nline 2");
    window.CheckDlgButton(kCheck, true);
    window.CheckRadioButton(kRadioA, kRadioB, kRadioB);
    window.EnableControl(kButton, false);
    window.SetTip(kButton, "Not on this board");
    window.ShowControl(kLabel, false);
    window.ResetContent(kDrop);
    window.AddString(kDrop, "only");
    window.SetCurSel(kDrop, 0);
    window.SetCurSel(kList, 1);
    window.SetRange(kSpin, -5, 5);
    window.SetPos(kSpin, -4);
    window.SetPos(kProgress, 70);
    window.SetTip(kEdit, "a tip");
    LetThrottledDisplaysCatchUp();

    EXPECT_EQ(Widget<QLineEdit>(kEdit)->text(), "2.25");
    EXPECT_EQ(Widget<QLineEdit>(kEdit)->toolTip(), "a tip");
    EXPECT_EQ(Widget<QGroupBox>(kGroup)->title(), "Modes");
    EXPECT_EQ(Widget<QPlainTextEdit>(kText)->toPlainText(), "line 1\nline 2");
    EXPECT_TRUE(Widget<QCheckBox>(kCheck)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(kRadioA)->isChecked());
    EXPECT_TRUE(Widget<QRadioButton>(kRadioB)->isChecked());
    EXPECT_FALSE(Widget<QPushButton>(kButton)->isEnabled());
    EXPECT_EQ(Widget<QPushButton>(kButton)->toolTip(), "Not on this board");
    EXPECT_TRUE(Widget<QLabel>(kLabel)->isHidden());
    ASSERT_EQ(Widget<QComboBox>(kDrop)->count(), 1);
    EXPECT_EQ(Widget<QComboBox>(kDrop)->currentText(), "only");
    EXPECT_EQ(Widget<QListWidget>(kList)->currentRow(), 1);
    EXPECT_EQ(Widget<QSpinBox>(kSpin)->minimum(), -5);
    EXPECT_EQ(Widget<QSpinBox>(kSpin)->value(), -4);
    EXPECT_EQ(Widget<QProgressBar>(kProgress)->value(), 70);
    // Updates from the model are not user input.
    EXPECT_TRUE(window.events.empty());
}

TEST_F(GuiWindowWidget, ShowsValueMarksAndGroupNotes) {
    QLineEdit* box = Widget<QLineEdit>(kEdit);
    const QPalette plain = box->palette();
    window.SetMark(kEdit, ui::ValueMark::NotRead);
    EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Text),
              plain.color(QPalette::Disabled, QPalette::Text));
    EXPECT_EQ(box->palette().color(QPalette::Base), plain.color(QPalette::Base));
    window.SetMark(kEdit, ui::ValueMark::Edited);
    EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Text),
              plain.color(QPalette::Active, QPalette::Text));
    EXPECT_NE(box->palette().color(QPalette::Active, QPalette::Base),
              plain.color(QPalette::Active, QPalette::Base));
    window.SetMark(kEdit, ui::ValueMark::None);
    EXPECT_EQ(box->palette(), plain);

    window.SetNote(kGroup, "not read");
    EXPECT_EQ(Widget<QGroupBox>(kGroup)->title(), "Mode (not read)");
    window.SetDlgItemText(kGroup, "Modes");
    EXPECT_EQ(Widget<QGroupBox>(kGroup)->title(), "Modes (not read)");
    window.SetNote(kGroup, "");
    EXPECT_EQ(Widget<QGroupBox>(kGroup)->title(), "Modes");
}

TEST_F(GuiWindowWidget, HandsUserInputToTheModel) {
    view.show();
    QTest::keyClicks(Widget<QLineEdit>(kEdit), "7");
    EXPECT_EQ(window.GetDlgItemText(kEdit), "1.57");

    ClickIndicator(Widget<QCheckBox>(kCheck), QStyle::SE_CheckBoxIndicator);
    EXPECT_TRUE(window.IsDlgButtonChecked(kCheck));

    ClickIndicator(Widget<QRadioButton>(kRadioB), QStyle::SE_RadioButtonIndicator);
    EXPECT_TRUE(window.IsDlgButtonChecked(kRadioB));
    EXPECT_FALSE(window.IsDlgButtonChecked(kRadioA));
    EXPECT_FALSE(Widget<QRadioButton>(kRadioA)->isChecked());
    // Clicking the checked radio button again leaves it checked, as the model says.
    ClickIndicator(Widget<QRadioButton>(kRadioB), QStyle::SE_RadioButtonIndicator);
    EXPECT_TRUE(Widget<QRadioButton>(kRadioB)->isChecked());

    QTest::mouseClick(Widget<QPushButton>(kButton), Qt::LeftButton);
    QTest::keyClick(Widget<QComboBox>(kDrop), Qt::Key_Down);
    EXPECT_EQ(window.GetCurSel(kDrop), 1);
    QTest::keyClick(Widget<QSpinBox>(kSpin), Qt::Key_Up);
    EXPECT_EQ(window.GetPos(kSpin), 4);
    QTest::keyClick(Widget<QSlider>(kSlider), Qt::Key_Right);
    EXPECT_EQ(window.GetPos(kSlider), 51);

    const std::vector<std::string> expected{"command 13", "command 22", "command 22",
                                            "command 12", "select 30",  "pos 40",
                                            "release 40", "pos 41",     "release 41"};
    EXPECT_EQ(window.events, expected);
}

// A window that takes its edit box into a number when its button is pressed.
class ExchangeWindow : public ProbeWindow {
public:
    using ProbeWindow::ProbeWindow;
    float gain = 1.5f;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { dx.Text(kEdit, gain); }
    void OnCommand(int id) override {
        if (id == kButton && UpdateData(true)) events.push_back("taken");
    }
};

// A refused box gets the keyboard focus with its whole text selected, scrolled into view, once
// the message is closed; typing then replaces the bad text.
TEST(GuiFocus, ARefusedBoxHasTheFocusWithItsTextSelected) {
    QtHost host{QtHost::Mode::Recording};
    ExchangeWindow window{host};
    QScrollArea area;
    auto* view = new WindowWidget(window, WindowWidget::Role::Page);
    area.setWidget(view);
    area.resize(view->sizeHint().width() + 40, 60);
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    auto* edit = qobject_cast<QLineEdit*>(view->ControlWidget(kEdit));
    auto* button = qobject_cast<QPushButton*>(view->ControlWidget(kButton));
    ASSERT_TRUE(edit && button);

    edit->setFocus();
    QTest::keyClicks(edit, "x");
    // Scrolled away from the box, the button is pressed (as its widget hands the click over).
    QScrollBar* scroll = area.verticalScrollBar();
    scroll->setValue(scroll->maximum());
    ASSERT_TRUE(edit->visibleRegion().isEmpty());
    button->setFocus();
    ASSERT_TRUE(window.UserClick(kButton));
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Enter a number."});
    EXPECT_TRUE(window.events.empty());
    EXPECT_EQ(window.Focus(), kEdit);
    EXPECT_TRUE(window.FocusTextSelected());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "1.5x");
    EXPECT_FALSE(edit->visibleRegion().isEmpty());

    QTest::keyClicks(edit, "2.5");
    EXPECT_EQ(window.GetDlgItemText(kEdit), "2.5");
    EXPECT_EQ(window.Focus(), kEdit);
    EXPECT_FALSE(window.FocusTextSelected());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(window.events, std::vector<std::string>{"taken"});
    EXPECT_FLOAT_EQ(window.gain, 2.5f);
}

// With a real message box: once it is closed, the window is active again with the refused box
// focused and its text selected, so typing replaces the bad text.
TEST(GuiFocus, AfterTheMessageBoxTheRefusedBoxTakesTheTyping) {
    QtHost host;
    ExchangeWindow window{host};
    WindowWidget view{window, WindowWidget::Role::Page};
    host.SetMainWindow(&view);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    auto* edit = qobject_cast<QLineEdit*>(view.ControlWidget(kEdit));
    auto* button = qobject_cast<QPushButton*>(view.ControlWidget(kButton));
    ASSERT_TRUE(edit && button);
    edit->setFocus();
    QTest::keyClicks(edit, "x");

    QString shown;
    QTimer::singleShot(0, [&shown] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) shown = box->text();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(shown, "Enter a number.");
    view.activateWindow();  // as the window manager does when the box goes
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), "1.5x");
    QTest::keyClicks(QApplication::focusWidget(), "3");
    EXPECT_EQ(window.GetDlgItemText(kEdit), "3");
}

}  // namespace
}  // namespace zephran::qt
