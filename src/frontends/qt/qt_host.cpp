#include "frontends/qt/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QVBoxLayout>

#include "frontends/qt/flight_log_window.h"
#include "frontends/qt/window_widget.h"

namespace zephran::qt {
namespace {

// A modal dialog around one window. Escape and the close button act as its Cancel.
class ModalDialog : public QDialog {
public:
    ModalDialog(ui::Window& window, QWidget* parent) : QDialog(parent), window_(window) {
        auto* body = new WindowWidget(window, WindowWidget::Role::Dialog, this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(body);
        setWindowTitle(QString::fromStdString(window.GetWindowText()));
        connect(body, &WindowWidget::titleChanged, this, &QDialog::setWindowTitle);
        connect(body, &WindowWidget::ended, this, &QDialog::done);
    }

    void reject() override {
        if (!window_.UserClick(ui::IDCANCEL)) window_.EndDialog(ui::IDCANCEL);
    }

private:
    ui::Window& window_;
};

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        if (name.isEmpty() && patterns.isEmpty()) continue;
        // Qt reads the patterns from the parentheses; the pattern half is the one that counts.
        const qsizetype open = name.lastIndexOf('(');
        if (open >= 0 && name.endsWith(')')) name = name.left(open).trimmed();
        filters.append(QStringLiteral("%1 (%2)").arg(name, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

void QtHost::Quit() {
    quitting_ = true;
    QCoreApplication::exit(0);
}

QWidget* QtHost::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return mainWindow_;
}

void QtHost::MessageBox(const std::string& text) {
    if (mode_ == Mode::Recording) {
        messages_.push_back(text);
        return;
    }
    if (quitting_) return;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ZephranFPV"), QString::fromStdString(text),
                    QMessageBox::Ok, DialogParent());
    box.exec();
}

bool QtHost::AskYesNo(const std::string& text) {
    if (mode_ == Mode::Recording) {
        messages_.push_back(text);
        return false;
    }
    if (quitting_) return false;
    QMessageBox box(QMessageBox::Question, QStringLiteral("ZephranFPV"),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    DialogParent());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtHost::AskText(const std::string& prompt,
                                           const std::vector<std::string>& offered) {
    if (mode_ == Mode::Recording || quitting_) return std::nullopt;
    QStringList items;
    for (const std::string& text : offered)
        items << QString::fromStdString(text);
    bool accepted = false;
    const QString text =
        QInputDialog::getItem(DialogParent(), QStringLiteral("ZephranFPV"),
                              QString::fromStdString(prompt), items, 0, true, &accepted);
    if (!accepted || text.trimmed().isEmpty()) return std::nullopt;
    return text.trimmed().toStdString();
}

int QtHost::RunModal(ui::Window& window) {
    window.InitDialog();
    if (!window.Ended() && !quitting_) {
        ModalDialog dialog(window, DialogParent());
        dialog.exec();
    }
    return window.Ended() ? window.Result() : ui::IDCANCEL;
}

std::optional<std::string> QtHost::Choose(QString (*dialog)(QWidget*, const QString&,
                                                            const QString&, const QString&,
                                                            QString*, QFileDialog::Options),
                                          const std::string& filter, const std::string& place) {
    if (mode_ == Mode::Recording || quitting_) return std::nullopt;
    const QString file = dialog(DialogParent(), QString(), QString::fromStdString(place),
                                QtFileFilter(filter), nullptr, QFileDialog::Options());
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

std::optional<std::string> QtHost::ChooseFile(const std::string& filter,
                                              const std::string& startDir) {
    return Choose(&QFileDialog::getOpenFileName, filter, startDir);
}

std::optional<std::string> QtHost::ChooseSaveFile(const std::string& filter,
                                                  const std::string& proposed) {
    return Choose(&QFileDialog::getSaveFileName, filter, proposed);
}

bool QtHost::ViewRecording(const std::string& path, const TextSource& texts) {
    std::string error;
    FlightLogWindow* viewer = FlightLogWindow::Open(path, *this, texts, error);
    if (!viewer) {
        MessageBox(error);
        return true;
    }
    viewers_.emplace_back(viewer);
    viewer->show();
    return true;
}

std::vector<QWidget*> QtHost::Viewers() const {
    std::vector<QWidget*> open;
    for (const QPointer<QWidget>& viewer : viewers_) {
        if (viewer) open.push_back(viewer);
    }
    return open;
}

void QtHost::OpenFolder(const std::string& path) {
    if (mode_ == Mode::Recording) {
        opened_.push_back(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtHost::OpenUrl(const std::string& url) {
    if (mode_ == Mode::Recording) {
        opened_.push_back(url);
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace zephran::qt
