#include "frontends/qt/window_memory.h"

#include <QMainWindow>
#include <QSettings>
#include <QSplitter>

namespace zephran::qt {
namespace {

QString SplitterKey(std::size_t index) {
    return QStringLiteral("MainWindow/splitter%1").arg(index);
}

}  // namespace

bool WindowMemory::Restore(QMainWindow& window, const std::vector<QSplitter*>& splitters) const {
    const QSettings settings(file_, QSettings::IniFormat);
    if (!window.restoreGeometry(settings.value("MainWindow/geometry").toByteArray())) return false;
    for (std::size_t i = 0; i < splitters.size(); ++i)
        splitters[i]->restoreState(settings.value(SplitterKey(i)).toByteArray());
    return true;
}

void WindowMemory::Save(const QMainWindow& window, const std::vector<QSplitter*>& splitters) const {
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue("MainWindow/geometry", window.saveGeometry());
    for (std::size_t i = 0; i < splitters.size(); ++i)
        settings.setValue(SplitterKey(i), splitters[i]->saveState());
}

}  // namespace zephran::qt
