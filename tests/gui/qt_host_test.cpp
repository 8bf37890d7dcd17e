#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "frontends/qt/qt_host.h"
#include "ui/window.h"

namespace zephran::qt {
namespace {

TEST(GuiFileFilter, TurnsPairsIntoQtFilters) {
    EXPECT_EQ(QtFileFilter("Firmware (*.bin)|*.bin"), "Firmware (*.bin)");
    EXPECT_EQ(QtFileFilter("Logs (*.txt;*.csv)|*.txt;*.csv|All files (*.*)|*.*||"),
              "Logs (*.txt *.csv);;All files (*.*)");
    // The pattern half decides what is listed, whatever the name says.
    EXPECT_EQ(QtFileFilter("Images|*.png"), "Images (*.png)");
    EXPECT_EQ(QtFileFilter("Hex (*.bin)|*.hex"), "Hex (*.hex)");
    EXPECT_EQ(QtFileFilter(""), "");
}

// A modal window with a prompt, OK and Cancel.
ui::WindowTemplate QuestionTemplate() {
    ui::WindowTemplate t;
    t.title = "Question";
    t.controls = {{.id = 100, .kind = ui::ControlKind::Label, .text = "Proceed?"},
                  {.id = ui::IDOK, .kind = ui::ControlKind::Button, .text = "OK"},
                  {.id = ui::IDCANCEL, .kind = ui::ControlKind::Button, .text = "Cancel"}};
    t.layout = ui::Column(
        {ui::Item(100), ui::Row({ui::Stretch(), ui::Item(ui::IDOK), ui::Item(ui::IDCANCEL)})});
    return t;
}

// Ends itself as soon as it is initialised.
class SelfEndingWindow : public ui::Window {
public:
    explicit SelfEndingWindow(ui::HostServices& host) : ui::Window(host, QuestionTemplate()) {}

protected:
    void OnInitDialog() override { EndDialog(7); }
};

// Once the modal dialog is open, works it as a person would.
void WhenModalOpens(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(*modal);
    });
}

QPushButton* Button(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

class GuiModal : public ::testing::Test {
protected:
    QtHost host{QtHost::Mode::Recording};
    ui::Window window{host, QuestionTemplate()};
};

TEST_F(GuiModal, EndsWithTheButtonClicked) {
    QString title;
    WhenModalOpens([&](QWidget& dialog) {
        title = dialog.windowTitle();
        QTest::mouseClick(Button(dialog, "OK"), Qt::LeftButton);
    });
    EXPECT_EQ(host.RunModal(window), ui::IDOK);
    EXPECT_EQ(title, "Question");

    WhenModalOpens(
        [](QWidget& dialog) { QTest::mouseClick(Button(dialog, "Cancel"), Qt::LeftButton); });
    EXPECT_EQ(host.RunModal(window), ui::IDCANCEL);
}

TEST_F(GuiModal, EnterIsOkAndEscapeIsCancel) {
    WhenModalOpens([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
    EXPECT_EQ(host.RunModal(window), ui::IDOK);
    WhenModalOpens([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(host.RunModal(window), ui::IDCANCEL);
}

TEST_F(GuiModal, AWindowThatEndsInItsInitialisationOpensNoDialog) {
    SelfEndingWindow selfEnding(host);
    bool opened = false;
    // A dialog opened by mistake is closed again, so the test fails instead of hanging.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    guard.start(200);
    EXPECT_EQ(host.RunModal(selfEnding), 7);
    EXPECT_FALSE(opened);
}

}  // namespace
}  // namespace zephran::qt
