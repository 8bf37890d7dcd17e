// Keyboard use of a main window: the menu bar from F10 or a lone Alt, Enter on buttons, and the
// ring that shows which control has the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "frontends/qt/keyboard_navigation.h"

namespace zephran::qt {
namespace {

class GuiKeyboard : public ::testing::Test {
protected:
    GuiKeyboard() {
        for (const char* title : {"Product", "Language", "Connection"})
            window.menuBar()->addMenu(title)->addAction(QString(title) + " item");
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList("AHRS")));
        for (QWidget* widget : std::initializer_list<QWidget*>{edit, button, flat, check, tree})
            layout->addWidget(widget);
        flat->setText("NOR");
        QObject::connect(button, &QPushButton::clicked, [this] { ++presses; });
        QObject::connect(flat, &QToolButton::clicked, [this] { ++flatPresses; });
        window.setCentralWidget(central);
        window.resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QApplication::processEvents();
    }

    QMenuBar& Bar() { return *window.menuBar(); }
    QAction* Title(int index) { return Bar().actions().at(index); }
    // Keys go where the application sends them: to an open menu, else to the widget with the
    // focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                            : QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    void FocusOn(QWidget* widget) {
        widget->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }
    // The pixels on a widget's left and bottom edges, halfway along, in the window's image.
    QColor LeftEdge(const QWidget* widget, const QImage& image) const {
        return At(widget->mapTo(&window, QPoint(0, widget->height() / 2)), image);
    }
    QColor BottomEdge(const QWidget* widget, const QImage& image) const {
        return At(widget->mapTo(&window, QPoint(widget->width() / 2, widget->height() - 1)), image);
    }
    QColor At(QPoint at, const QImage& image) const {
        return image.pixelColor(at * window.devicePixelRatio());
    }

    QMainWindow window;
    QLineEdit* edit = new QLineEdit;
    QPushButton* button = new QPushButton("Read");
    QToolButton* flat = new QToolButton;
    QCheckBox* check = new QCheckBox("Enable");
    QTreeWidget* tree = new QTreeWidget;
    int presses = 0;
    int flatPresses = 0;
    KeyboardNavigation keyboard{window};
};

TEST_F(GuiKeyboard, F10OpensTheMenuBarTheArrowsWalkItAndEscapeLeavesIt) {
    Key(Qt::Key_F10);
    EXPECT_EQ(Bar().activeAction(), Title(0));
    EXPECT_EQ(QApplication::focusWidget(), &Bar());
    // The titles only: no menu drops down yet.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    Key(Qt::Key_Right);
    EXPECT_EQ(Bar().activeAction(), Title(1));
    // The title the keyboard is on shows it.
    const QRect title = Bar().actionGeometry(Title(1));
    const QImage bar = Bar().grab().toImage();
    const QColor highlight = window.palette().color(QPalette::Highlight);
    EXPECT_EQ(bar.pixelColor((title.topLeft() + QPoint(3, 3)) * Bar().devicePixelRatio()),
              highlight);
    EXPECT_NE(bar.pixelColor((Bar().actionGeometry(Title(0)).topLeft() + QPoint(3, 3)) *
                             Bar().devicePixelRatio()),
              highlight);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(Bar().activeAction(), Title(0));
    Key(Qt::Key_Left);
    EXPECT_EQ(Bar().activeAction(), Title(2));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Bar().activeAction(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(GuiKeyboard, DownOpensTheMenuAndEscapeStepsBackOut) {
    Key(Qt::Key_F10);
    Key(Qt::Key_Down);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), Title(0)->menu());
    Key(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(Bar().activeAction(), Title(0));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Bar().activeAction(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(GuiKeyboard, AltPressedAndReleasedAloneOpensTheMenuBar) {
    QTest::keyPress(edit, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(edit, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(Bar().activeAction(), Title(0));
    Key(Qt::Key_Right);
    EXPECT_EQ(Bar().activeAction(), Title(1));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Bar().activeAction(), nullptr);
    // Alt held for another key is no lone Alt.
    QTest::keyPress(edit, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(edit, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(Bar().activeAction(), nullptr);
}

TEST_F(GuiKeyboard, EnterPressesTheFocusedButtonAsSpaceDoes) {
    FocusOn(button);
    Key(Qt::Key_Return);
    EXPECT_EQ(presses, 1);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(presses, 2);
    Key(Qt::Key_Space);
    EXPECT_EQ(presses, 3);
    FocusOn(flat);
    Key(Qt::Key_Return);
    EXPECT_EQ(flatPresses, 1);
    EXPECT_EQ(presses, 3);
    // A check box is no button that Enter presses; nor is a button without the focus.
    FocusOn(check);
    Key(Qt::Key_Return);
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(presses, 3);
    FocusOn(edit);
    Key(Qt::Key_Return);
    EXPECT_EQ(presses, 3);
}

TEST_F(GuiKeyboard, TheFocusShowsOnEveryKindOfControl) {
    const QColor highlight = window.palette().color(QPalette::Highlight);
    for (QWidget* widget : std::initializer_list<QWidget*>{button, check, tree, flat, edit}) {
        FocusOn(widget);
        const FocusRing* ring = keyboard.Ring();
        ASSERT_NE(ring, nullptr);
        EXPECT_EQ(ring->Target(), widget) << widget->metaObject()->className();
        EXPECT_TRUE(ring->isVisible()) << widget->metaObject()->className();
        const QImage image = window.grab().toImage();
        EXPECT_EQ(LeftEdge(widget, image), highlight) << widget->metaObject()->className();
        EXPECT_EQ(BottomEdge(widget, image), highlight) << widget->metaObject()->className();
    }
    // A control the focus has left shows none, also after it has grown.
    button->setMinimumHeight(button->height() + 20);
    QApplication::processEvents();
    QImage image = window.grab().toImage();
    EXPECT_NE(LeftEdge(button, image), highlight);
    FocusOn(button);
    image = window.grab().toImage();
    EXPECT_EQ(BottomEdge(button, image), highlight);
    // The menu bar shows its own highlight.
    Key(Qt::Key_F10);
    EXPECT_EQ(keyboard.Ring()->Target(), nullptr);
    EXPECT_FALSE(keyboard.Ring()->isVisible());
    Key(Qt::Key_Escape);
    EXPECT_EQ(keyboard.Ring()->Target(), button);
}

TEST_F(GuiKeyboard, TheRingGoesWithItsControl) {
    FocusOn(check);
    delete check;
    QApplication::processEvents();
    FocusOn(button);
    ASSERT_NE(keyboard.Ring(), nullptr);
    EXPECT_EQ(keyboard.Ring()->Target(), button);
}

}  // namespace
}  // namespace zephran::qt
