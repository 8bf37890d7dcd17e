#include "frontends/qt/desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "frontends/common/session.h"
#include "frontends/qt/main_window.h"
#include "frontends/qt/qt_host.h"

namespace zephran::qt {

int RunDesktop(const Options& options, int& argc, char** argv) {
    QApplication app(argc, argv);
    QtHost host;
    SystemClock clock;
    Session session(options, host, clock);
    std::string error;
    if (!session.Start(error)) {
        std::fprintf(stderr, "zephran: %s\n", error.c_str());
        QMessageBox::critical(nullptr, QStringLiteral("ZephranFPV"), QString::fromStdString(error));
        return 1;
    }
    MainWindow window(session.Dialog(), clock);
    host.SetMainWindow(&window);

    int exitCode = 0;
    if (options.screenshot) {
        // Fires in whatever loop runs then, a message box's included, and leaves them all.
        QTimer::singleShot(options.screenshotAfterMs, &window, [&] {
            if (!window.grab().save(QString::fromStdString(*options.screenshot), "PNG")) {
                std::fprintf(stderr, "zephran: cannot write %s\n", options.screenshot->c_str());
                exitCode = 1;
            }
            host.Quit();
        });
    }
    window.show();
    window.Start();
    session.TellSettingsNotice();
    if (options.page) {
        ui::TreeModel& tree = session.Dialog().Tree();
        if (const auto node = tree.FindKey(*options.page)) {
            tree.SelectItem(node);
        } else {
            std::fprintf(stderr, "zephran: no page %s in this product's tree\n",
                         options.page->c_str());
        }
    }
    const int code = host.Quitting() ? 0 : app.exec();
    return host.Quitting() ? exitCode : code;
}

}  // namespace zephran::qt
