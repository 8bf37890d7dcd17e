#pragma once

#include <QToolBar>
#include <functional>

#include "app/zephran_dlg.h"

class QAction;

namespace zephran::qt {

// The small toolbar above the page area: the board's parameter sets saved to a file, a file
// loaded onto the board, a file compared with the board or with another file, and a running
// transfer cancelled. Files are chosen with the host's dialogs; results come in message boxes.
class ParameterToolBar : public QToolBar {
public:
    // started: called after an operation started, so that the dialog's timers run for it.
    ParameterToolBar(CZephranDlg& dialog, std::function<void()> started);
    ~ParameterToolBar() override;

    QAction& SaveAction() const { return *save_; }
    QAction& LoadAction() const { return *load_; }
    QAction& CompareAction() const { return *compare_; }
    QAction& CancelAction() const { return *cancel_; }

private:
    void Save();
    void Load();
    void CompareWithBoard();
    void CompareFiles();
    void Run(const std::function<void(ParameterFiles::Done)>& start);
    void Show(const ParameterFiles::Outcome& outcome);
    // The file actions while idle, Cancel while a transfer runs.
    void Refresh();
    // The captions and tooltips in the current language.
    void ApplyTexts();

    CZephranDlg& dialog_;
    std::function<void()> started_;
    QAction* save_;
    QAction* load_;
    QAction* compare_;
    QAction* cancel_;
    QAction* compareWithBoard_ = nullptr;
    QAction* compareFiles_ = nullptr;
};

}  // namespace zephran::qt
