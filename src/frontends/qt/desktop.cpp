#include "frontends/qt/desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>

#include "frontends/common/session.h"
#include "frontends/qt/main_window.h"
#include "frontends/qt/qt_host.h"

namespace zephran::qt {
namespace {

// FILE with "-NAME" before its extension: shot.png → shot-scope.png.
std::string Beside(const std::string& file, const char* name) {
    // On the UTF-8 text itself, whose separators and dots are plain bytes on every system.
    const std::size_t folder = file.find_last_of("/\\");
    const std::size_t start = folder == std::string::npos ? 0 : folder + 1;
    std::size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot <= start) dot = file.size();
    return file.substr(0, dot) + "-" + name + file.substr(dot);
}

bool Save(const QImage& image, const std::string& file) {
    if (image.save(QString::fromStdString(file), "PNG")) return true;
    std::fprintf(stderr, "zephran: cannot write %s\n", file.c_str());
    return false;
}

// Opens the live windows named on the command line, the modal scope last.
void OpenLiveWindows(views::LiveViews& views, std::vector<std::string> names) {
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& name) { return name != "scope"; });
    for (const std::string& name : names) {
        if (name == "attitude") views.OpenAttitudeView();
        if (name == "position") views.OpenPositionView();
        if (name == "scope") views.OpenScope();
    }
}

}  // namespace

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
            const std::string& file = *options.screenshot;
            bool saved = Save(window.grab().toImage(), file);
            const LiveWindows& live = window.Live();
            if (AttitudeGlWindow* view = live.Window(views::ViewKind::Attitude))
                saved = Save(view->Render(), Beside(file, "attitude")) && saved;
            if (AttitudeGlWindow* view = live.Window(views::ViewKind::Position))
                saved = Save(view->Render(), Beside(file, "position")) && saved;
            if (ScopeDialog* scope = live.Scope())
                saved = Save(scope->grab().toImage(), Beside(file, "scope")) && saved;
            for (QWidget* viewer : host.Viewers())
                saved = Save(viewer->grab().toImage(), Beside(file, "viewer")) && saved;
            if (!saved) exitCode = 1;
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
    if (options.view) host.ViewRecording(*options.view, session.Dialog().Texts());
    if (!options.open.empty()) {
        // From the event loop, since the scope runs a loop of its own.
        QTimer::singleShot(0, &window, [&session, &options] {
            OpenLiveWindows(*session.Dialog().Views(), options.open);
        });
    }
    const int code = host.Quitting() ? 0 : app.exec();
    return host.Quitting() ? exitCode : code;
}

}  // namespace zephran::qt
