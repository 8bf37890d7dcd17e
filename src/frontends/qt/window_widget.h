#pragma once

#include "frontends/qt/throttle.h"

#include <QWidget>
#include <map>
#include <set>

#include "ui/window.h"

class QLabel;
class QLayout;

namespace zephran::qt {

// Draws any ui::Window from its layout tree, one Qt widget per control, keeps the widgets in
// step with the model and hands user input back to it. titleChanged reports the window's title;
// a page also shows it as a heading.
class WindowWidget : public QWidget, private ui::WindowObserver {
    Q_OBJECT

public:
    enum class Role {
        Page,      // a heading, the controls kept at the top
        Dialog,    // the title goes to the dialog's caption
        Embedded,  // part of a larger window: no heading, no margins
    };

    WindowWidget(ui::Window& window, Role role, QWidget* parent = nullptr);
    ~WindowWidget() override;

    ui::Window& Model() const { return window_; }
    // The widget drawing a control (the QGroupBox for a group caption), or null.
    QWidget* ControlWidget(int id) const;

signals:
    void titleChanged(const QString& title);
    void ended(int result);

private:
    void ControlChanged(ui::Window& window, int id) override;
    void WindowEnded(ui::Window& window) override;
    // Gives the focus to the model's focused control, scrolled into view, its text selected
    // where the model selected it.
    void FocusChanged(ui::Window& window) override;

    // A layout item becomes a widget, a layout, or neither (a stretch).
    struct Built {
        QWidget* widget = nullptr;
        QLayout* layout = nullptr;
    };
    Built Build(const ui::LayoutItem& item);
    QLayout* BuildBox(const ui::LayoutItem& item, QLayout* box);
    QLayout* BuildGrid(const ui::LayoutItem& item);
    // A row or grid of blocks that wraps where the width is short.
    QLayout* BuildFlow(const ui::LayoutItem& item, bool inColumns);
    QWidget* CreateControl(const ui::Control& control);
    void Connect(int id, QWidget* widget);
    // Copies the model's state of one control into its widget, signals blocked.
    void Sync(int id);
    // Hands one user input to the model, which then has the last word: a refused click, or a
    // radio button that Qt unchecked, goes back to what the model holds.
    template <typename F>
    void UserInput(int id, F&& input);

    ui::Window& window_;
    QLabel* heading_ = nullptr;
    std::map<int, QWidget*> widgets_;
    // Read-only text boxes show live data: their updates are throttled.
    std::set<int> pendingDisplays_;
    Throttle displayRefresh_;
};

}  // namespace zephran::qt
