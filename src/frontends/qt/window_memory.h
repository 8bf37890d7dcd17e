#pragma once

#include <QString>
#include <vector>

class QMainWindow;
class QSplitter;

namespace zephran::qt {

// Keeps a window's geometry and splitter positions for the user in an ini file of their own
// config folder, apart from Config.ini, whose keys belong to the system.
class WindowMemory {
public:
    explicit WindowMemory(QString file) : file_(std::move(file)) {}

    // Puts back what was saved; false when nothing was (the caller keeps its own layout).
    bool Restore(QMainWindow& window, const std::vector<QSplitter*>& splitters) const;
    void Save(const QMainWindow& window, const std::vector<QSplitter*>& splitters) const;

private:
    QString file_;
};

}  // namespace zephran::qt
