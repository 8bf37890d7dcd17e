#pragma once

#include <QMainWindow>
#include <memory>

#include "app/zephran_dlg.h"
#include "frontends/qt/event_pump.h"
#include "frontends/qt/keyboard_navigation.h"
#include "frontends/qt/live_windows.h"
#include "frontends/qt/model_widgets.h"
#include "frontends/qt/parameter_tool_bar.h"
#include "frontends/qt/window_memory.h"
#include "frontends/qt/window_widget.h"

class QSplitter;

namespace zephran::qt {

// The main window: the page tree over the traffic log on the left, the parameter-file toolbar
// and the page area over the board's text on the right, the menu bar and the status bar. Splitters
// let the user share the room out; the window remembers its place and them for the user. Its title
// names the port and the state of the link. It must not outlive the dialog.
class MainWindow : public QMainWindow {
public:
    MainWindow(CZephranDlg& dialog, const Clock& clock);
    ~MainWindow() override;

    // Initialises the dialog and starts its timers; once, after the window is shown.
    void Start();

    PageTreeWidget& Tree() const { return *tree_; }
    LineListWidget& TrafficLog() const { return *trafficLog_; }
    PageArea& Pages() const { return *pageArea_; }
    ParameterToolBar& ParameterBar() const { return *parameterBar_; }
    WindowWidget& BoardText() const { return *boardText_; }
    StatusPanes& Status() const { return *status_; }
    MenuBinder& Menus() const { return *menus_; }
    // The splitter between the pages and the lines below them (the board's text), and the one
    // between the tree and the pages.
    QSplitter& RowSplitter() const { return *rightRows_; }
    QSplitter& ColumnSplitter() const { return *columns_; }
    // The scope and the 3-D views, as their windows.
    LiveWindows& Live() const { return *live_; }

protected:
    // The close box asks the dialog first; a No keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void Command(unsigned command);
    void RefreshTitle();
    // The first size: room for the largest page, within the screen's free area, centred.
    void FitToScreen();
    // Keeps a remembered geometry inside the screen it is now on.
    void KeepOnScreen();
    std::vector<QSplitter*> Splitters() const;

    CZephranDlg& dialog_;
    EventPump pump_;
    WindowMemory memory_;
    PageTreeWidget* tree_;
    LineListWidget* trafficLog_;
    PageArea* pageArea_;
    ParameterToolBar* parameterBar_;
    WindowWidget* boardText_;
    StatusPanes* status_;
    MenuBinder* menus_;
    QSplitter* leftRows_;
    QSplitter* rightRows_;
    QSplitter* columns_;
    std::unique_ptr<LiveWindows> live_;
    KeyboardNavigation keyboard_;
};

}  // namespace zephran::qt
