#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>

#include "app/zephran_dlg.h"
#include "platform/clock.h"

namespace zephran::qt {

// Drives the main dialog from the Qt event loop: port events posted from the monitor thread
// run on this thread, and one single-shot timer runs the dialog's timers when they are due.
class EventPump : public QObject {
public:
    EventPump(CZephranDlg& dialog, const Clock& clock);
    ~EventPump() override;

    // Sets the timer to the dialog's next due tick; call after anything that may start one.
    void Reschedule();

private:
    void RunTimers();
    void ProcessPortEvents();

    CZephranDlg& dialog_;
    const Clock& clock_;
    QTimer timer_;
    // One posted call at a time: it takes every byte queued before it runs.
    std::atomic<bool> wakePosted_{false};
};

}  // namespace zephran::qt
