#pragma once

#include <QMainWindow>
#include <memory>

#include "app/zephran_dlg.h"
#include "frontends/qt/event_pump.h"
#include "frontends/qt/live_windows.h"
#include "frontends/qt/model_widgets.h"
#include "frontends/qt/window_widget.h"

namespace zephran::qt {

// The main window: the page tree over the traffic log on the left, the page area over the
// board's text on the right, the menu bar and the status bar. It must not outlive the dialog.
class MainWindow : public QMainWindow {
public:
    MainWindow(CZephranDlg& dialog, const Clock& clock);
    ~MainWindow() override;

    // Initialises the dialog and starts its timers; once, after the window is shown.
    void Start();

    PageTreeWidget& Tree() const { return *tree_; }
    LineListWidget& TrafficLog() const { return *trafficLog_; }
    PageArea& Pages() const { return *pageArea_; }
    WindowWidget& BoardText() const { return *boardText_; }
    StatusPanes& Status() const { return *status_; }
    MenuBinder& Menus() const { return *menus_; }
    // The scope and the 3-D views, as their windows.
    LiveWindows& Live() const { return *live_; }

private:
    void Command(unsigned command);

    CZephranDlg& dialog_;
    EventPump pump_;
    PageTreeWidget* tree_;
    LineListWidget* trafficLog_;
    PageArea* pageArea_;
    WindowWidget* boardText_;
    StatusPanes* status_;
    MenuBinder* menus_;
    std::unique_ptr<LiveWindows> live_;
};

}  // namespace zephran::qt
