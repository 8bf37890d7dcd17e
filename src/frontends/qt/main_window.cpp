#include "frontends/qt/main_window.h"

#include <QGridLayout>
#include <QMenuBar>
#include <QScreen>

#include "frontends/qt/qt_host.h"

namespace zephran::qt {

MainWindow::MainWindow(CZephranDlg& dialog, const Clock& clock)
    : dialog_(dialog),
      pump_(dialog, clock),
      tree_(new PageTreeWidget(dialog.Tree())),
      trafficLog_(new LineListWidget(dialog.TrafficList())),
      pageArea_(new PageArea),
      boardText_(new WindowWidget(dialog.MainWindow(), WindowWidget::Role::Embedded)),
      status_(new StatusPanes(dialog.StatusBar())),
      menus_(new MenuBinder(*menuBar(), dialog.MenuBar(),
                            [this](unsigned command) { Command(command); })),
      live_(std::make_unique<LiveWindows>(*dialog.Views(), this, [&dialog] {
          const auto* host = dynamic_cast<const QtHost*>(&dialog.Host());
          return host && host->Quitting();
      })) {
    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    grid->addWidget(tree_, 0, 0);
    grid->addWidget(pageArea_, 0, 1);
    grid->addWidget(trafficLog_, 1, 0);
    grid->addWidget(boardText_, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(1, 1);
    setCentralWidget(central);
    setStatusBar(status_);

    setWindowTitle(QString::fromStdString(dialog.MainWindow().GetWindowText()));
    connect(boardText_, &WindowWidget::titleChanged, this, &QMainWindow::setWindowTitle);
    dialog_.pageChanged.Connect([this] { pageArea_->Show(dialog_.ShownPage()); });
    // A first size from the font; Start makes room for the pages.
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 120, metrics.height() * 40);
}

MainWindow::~MainWindow() {
    dialog_.pageChanged.Connect(nullptr);
}

void MainWindow::Start() {
    dialog_.OnInitDialog();
    pump_.Reschedule();
    for (const auto& page : dialog_.Pages())
        pageArea_->Add(*page);
    // Room for the largest page, as far as the screen allows, and never below the first size.
    QSize size = sizeHint();
    if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size());
    resize(size.expandedTo(this->size()));
}

void MainWindow::Command(unsigned command) {
    dialog_.OnCommand(command);
    pump_.Reschedule();
}

}  // namespace zephran::qt
