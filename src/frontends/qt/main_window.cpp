#include "frontends/qt/main_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "frontends/qt/qt_host.h"

namespace zephran::qt {
namespace {

// The window's own file sits beside the user's profile, in their config folder.
QString WindowFileFor(const AppPaths& paths) {
    return QFileInfo(QString::fromStdString(paths.profileFile)).absolutePath() + "/window.ini";
}

// Two panes side by side or one over the other; the growing one takes what the window gains.
QSplitter* NewSplitter(Qt::Orientation orientation, QWidget* first, QWidget* second, int growing) {
    auto* splitter = new QSplitter(orientation);
    splitter->addWidget(first);
    splitter->addWidget(second);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(growing, 1);
    splitter->setStretchFactor(1 - growing, 0);
    return splitter;
}

// The toolbar over the page area, both in one pane of the splitter.
QWidget* UnderToolBar(QToolBar* bar, QWidget* area) {
    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(area, 1);
    return pane;
}

}  // namespace

MainWindow::MainWindow(CZephranDlg& dialog, const Clock& clock)
    : dialog_(dialog),
      pump_(dialog, clock),
      memory_(WindowFileFor(dialog.Paths())),
      tree_(new PageTreeWidget(dialog.Tree())),
      trafficLog_(new LineListWidget(dialog.TrafficList())),
      pageArea_(new PageArea),
      parameterBar_(new ParameterToolBar(dialog, [this] { pump_.Reschedule(); })),
      boardText_(new WindowWidget(dialog.MainWindow(), WindowWidget::Role::Embedded)),
      status_(new StatusPanes(dialog.StatusBar())),
      menus_(new MenuBinder(*menuBar(), dialog.MenuBar(),
                            [this](unsigned command) { Command(command); })),
      // The tree and the pages grow with the window; the lines below them keep their height.
      leftRows_(NewSplitter(Qt::Vertical, tree_, trafficLog_, 0)),
      rightRows_(NewSplitter(Qt::Vertical, UnderToolBar(parameterBar_, pageArea_), boardText_, 0)),
      columns_(NewSplitter(Qt::Horizontal, leftRows_, rightRows_, 1)),
      live_(std::make_unique<LiveWindows>(*dialog.Views(), this,
                                          [&dialog] {
                                              const auto* host =
                                                  dynamic_cast<const QtHost*>(&dialog.Host());
                                              return host && host->Quitting();
                                          })),
      keyboard_(*this) {
    // The log stays beside the board's text: the two row splitters move together.
    connect(leftRows_, &QSplitter::splitterMoved, this,
            [this] { rightRows_->setSizes(leftRows_->sizes()); });
    connect(rightRows_, &QSplitter::splitterMoved, this,
            [this] { leftRows_->setSizes(rightRows_->sizes()); });
    setCentralWidget(columns_);
    setStatusBar(status_);

    connect(boardText_, &WindowWidget::titleChanged, this, [this] { RefreshTitle(); });
    status_->OnRefreshed([this] { RefreshTitle(); });
    RefreshTitle();
    dialog_.Pages().changed.Connect([this] { pageArea_->Show(dialog_.Pages().Shown()); });
    // A first size from the font; Start makes room for the pages.
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 120, metrics.height() * 40);
}

MainWindow::~MainWindow() {
    memory_.Save(*this, Splitters());
    status_->OnRefreshed(nullptr);
    dialog_.Pages().changed.Connect(nullptr);
}

std::vector<QSplitter*> MainWindow::Splitters() const {
    return {columns_, leftRows_, rightRows_};
}

void MainWindow::Start() {
    dialog_.OnInitDialog();
    pump_.Reschedule();
    for (const auto& page : dialog_.Pages().All())
        pageArea_->Add(*page);
    // The splitters learn of the pages at once, the window's layout only by posted events: told
    // now, it sizes the window for the pages rather than for an empty page area.
    columns_->updateGeometry();
    FitToScreen();
    if (memory_.Restore(*this, Splitters())) KeepOnScreen();
    RefreshTitle();
}

void MainWindow::FitToScreen() {
    const QScreen* shown = screen();
    const QSize wanted = sizeHint().expandedTo(size());
    if (!shown) {
        resize(wanted);
    } else {
        const QRect area = shown->availableGeometry();
        // The frame is known only once the window manager has framed the window; until then it
        // counts as none.
        const QSize room = area.size() - (frameGeometry().size() - geometry().size());
        resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
        move(area.center() - frameGeometry().center() + pos());
        // A window that wants the whole screen gets it maximised, so the desktop fits its title
        // bar and the status bar in the free area.
        if (wanted.width() >= room.width() || wanted.height() >= room.height())
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    // The tree as wide as its texts, three quarters of the height for the pages and the rest
    // for the lines below them.
    layout()->activate();
    const int tree = tree_->sizeHint().width();
    columns_->setSizes({tree, std::max(1, columns_->width() - tree)});
    const int rows = rightRows_->height();
    rightRows_->setSizes({rows * 3 / 4, rows - rows * 3 / 4});
    leftRows_->setSizes(rightRows_->sizes());
}

void MainWindow::KeepOnScreen() {
    const QScreen* shown = screen();
    if (!shown) return;
    const QRect area = shown->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(size().boundedTo(area.size() - frame));
    const QRect outer = frameGeometry();
    const int x = std::max(area.left(), std::min(outer.x(), area.right() + 1 - outer.width()));
    const int y = std::max(area.top(), std::min(outer.y(), area.bottom() + 1 - outer.height()));
    move(pos() + QPoint(x - outer.x(), y - outer.y()));
}

void MainWindow::RefreshTitle() {
    setWindowTitle(QString::fromStdString(dialog_.Title()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const auto* host = dynamic_cast<const QtHost*>(&dialog_.Host());
    if ((host && host->Quitting()) || dialog_.MayQuit()) {
        event->accept();
    } else {
        event->ignore();
    }
    pump_.Reschedule();
}

void MainWindow::Command(unsigned command) {
    dialog_.OnCommand(command);
    pump_.Reschedule();
}

}  // namespace zephran::qt
