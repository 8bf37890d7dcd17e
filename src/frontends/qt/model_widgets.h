#pragma once

#include "frontends/qt/throttle.h"

#include <QListWidget>
#include <QObject>
#include <QScrollArea>
#include <QStatusBar>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <vector>

#include "frontends/qt/window_widget.h"
#include "ui/list_box.h"
#include "ui/menu.h"
#include "ui/status_bar.h"
#include "ui/tree.h"

class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;

namespace zephran::qt {

// The page tree: rebuilt when the model's items change, otherwise only its selection follows;
// a selection by the user goes to the model.
class PageTreeWidget : public QTreeWidget {
public:
    explicit PageTreeWidget(ui::TreeModel& model, QWidget* parent = nullptr);
    ~PageTreeWidget() override;

    // As wide as its texts.
    QSize sizeHint() const override;

    QTreeWidgetItem* ItemOf(ui::TreeModel::Handle handle) const;

private:
    struct Shape {
        ui::TreeModel::Handle handle;
        ui::TreeModel::Handle parent;
        std::string text;
        bool expanded;
        bool operator==(const Shape&) const = default;
    };
    void Refresh();
    void Rebuild();

    ui::TreeModel& model_;
    std::vector<Shape> shape_;
    std::map<ui::TreeModel::Handle, QTreeWidgetItem*> items_;
};

// A list box model drawn as a list that follows its newest line.
class LineListWidget : public QListWidget {
public:
    explicit LineListWidget(ui::ListBoxModel& model, QWidget* parent = nullptr);
    ~LineListWidget() override;

private:
    void Refresh();

    ui::ListBoxModel& model_;
};

// The six status panes, sized by the model's percentages, the progress bar in the last one.
class StatusPanes : public QStatusBar {
public:
    explicit StatusPanes(ui::StatusBarModel& model, QWidget* parent = nullptr);
    ~StatusPanes() override;

    // The label of a text pane (0 to 4), or null.
    QLabel* Pane(int index) const;
    QProgressBar* Progress() const { return progress_; }
    // Called after each redraw of the panes.
    void OnRefreshed(std::function<void()> refreshed) { refreshed_ = std::move(refreshed); }

private:
    void Refresh();

    ui::StatusBarModel& model_;
    std::function<void()> refreshed_;
    std::vector<QLabel*> panes_;
    QProgressBar* progress_ = nullptr;
    // The receive counter changes with every frame.
    Throttle refresh_{[this] { Refresh(); }};
};

// Fills a Qt menu bar from the model at each change. A chosen command reaches onCommand after
// the menu has closed, as a posted call, so it may rebuild the bar or open a modal window.
class MenuBinder : public QObject {
public:
    MenuBinder(QMenuBar& bar, ui::MenuBarModel& model, std::function<void(unsigned)> onCommand);
    ~MenuBinder() override;

    // The action of a command, or null.
    QAction* Action(unsigned command) const;

private:
    void Refresh();
    void Fill(QMenu& menu, const ui::Menu& model);
    void AddCommand(QAction* action, const ui::Menu::Item& item);

    QMenuBar& bar_;
    ui::MenuBarModel& model_;
    std::function<void(unsigned)> onCommand_;
    std::vector<QMenu*> menus_;
    std::map<unsigned, QAction*> actions_;
};

// The framed page area: each page drawn once and kept. It asks for room for the largest page,
// and never gets narrower than the widest page can wrap to, with room for the vertical scroll
// bar: in a window no page is cut off on the right. Only the page on show sits in the scroll
// area, so its size alone decides the scrolling.
class PageArea : public QScrollArea {
public:
    explicit PageArea(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Draws a page unless it is drawn already.
    WindowWidget& Add(ui::Window& page);
    // Shows a page; null shows none.
    void Show(ui::Window* page);
    // The widget of the page on show, or null.
    WindowWidget* Current() const;

private:
    QWidget* shelf_;  // hidden: holds the pages not on show
    QWidget* empty_;
    std::map<ui::Window*, WindowWidget*> pages_;
};

}  // namespace zephran::qt
