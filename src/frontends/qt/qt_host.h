#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/host_services.h"

namespace zephran::qt {

// "Name (*.ext)|*.ext|…" as a Qt file-dialog filter ("Name (*.ext);;…").
QString QtFileFilter(const std::string& filter);

// The desktop's services for the application: modal message boxes, modal windows drawn by
// WindowWidget, the file dialog and the system's handlers for folders and web pages.
class QtHost : public ui::HostServices {
public:
    // Recording: message boxes, folders and web pages are recorded instead of shown, and no
    // file is chosen, so tests never block.
    enum class Mode { Interactive, Recording };

    explicit QtHost(Mode mode = Mode::Interactive) : mode_(mode) {}

    // The window that boxes and dialogs belong to when no modal window is open.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    // Leaves every event loop, the nested ones of open boxes included; nothing opens after it.
    void Quit();
    bool Quitting() const { return quitting_; }

    void MessageBox(const std::string& text) override;
    // Recording: the question is recorded and answered No.
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> AskText(const std::string& prompt,
                                       const std::vector<std::string>& offered) override;
    int RunModal(ui::Window& window) override;
    std::optional<std::string> ChooseFile(const std::string& filter,
                                          const std::string& startDir) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter,
                                              const std::string& proposed) override;
    // Opens a flight-log viewer window; a recording that cannot be read is told in a box.
    bool ViewRecording(const std::string& path, const TextSource& texts) override;
    void OpenFolder(const std::string& path) override;
    void OpenUrl(const std::string& url) override;

    // The viewer windows still open, oldest first.
    std::vector<QWidget*> Viewers() const;
    const std::vector<std::string>& Messages() const { return messages_; }
    const std::vector<std::string>& Opened() const { return opened_; }

private:
    QWidget* DialogParent() const;
    // The file an open or save dialog gave; nothing when cancelled or while recording. place is
    // the folder it opens in, or the file it proposes.
    std::optional<std::string> Choose(QString (*dialog)(QWidget*, const QString&, const QString&,
                                                        const QString&, QString*,
                                                        QFileDialog::Options),
                                      const std::string& filter, const std::string& place);

    Mode mode_;
    QPointer<QWidget> mainWindow_;
    bool quitting_ = false;
    std::vector<std::string> messages_;
    std::vector<std::string> opened_;
    std::vector<QPointer<QWidget>> viewers_;
};

}  // namespace zephran::qt
