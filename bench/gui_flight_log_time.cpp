// SPDX-License-Identifier: GPL-3.0-or-later
// The flight-log viewer on a one-hour GPS/INS recording at 50 records a second (180,000 records,
// 43 MB): the time from asking for it to its first frame on the screen, and the time each zoom
// and pan takes to redraw, medians over 20 of each. Run on a display (Xvfb in the measurements);
// exits 1 when opening takes over 1 s or a redraw over 30 ms.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "frontends/qt/flight_log_window.h"
#include "frontends/qt/qt_host.h"
#include "link/text_source.h"
#include "long_flight.h"
#include "recording/record_times.h"

namespace {

using namespace zephran;

constexpr int kRecords = 3600 * 50;

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    // Without a display, the same program on an Xvfb display of its own.
    if (!std::getenv("DISPLAY")) {
        std::vector<char*> args{const_cast<char*>("xvfb-run"),
                                const_cast<char*>("-a"),
                                const_cast<char*>("-s"),
                                const_cast<char*>("-screen 0 1366x768x24"),
                                argv[0],
                                nullptr};
        execvp("xvfb-run", args.data());
        std::fprintf(stderr, "cannot start xvfb-run (Debian: xvfb)\n");
        return 2;
    }
    QApplication app(argc, argv);
    const std::string file = bench::WriteLongFlight("zephran-bench-viewer");
    qt::QtHost host(qt::QtHost::Mode::Recording);
    QElapsedTimer timer;
    timer.start();
    std::string error;
    const NoTexts kEnglish;  // the viewer's built-in English texts
    qt::FlightLogWindow* viewer = qt::FlightLogWindow::Open(file, host, kEnglish, error);
    if (!viewer) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    viewer->resize(1366, 700);
    viewer->show();
    if (!QTest::qWaitForWindowExposed(viewer)) return 2;
    QApplication::processEvents();
    const double openMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    viewer->PlaceCursor(1800);
    std::vector<double> zooms, pans;
    for (int n = 0; n < 20; ++n) {
        timer.restart();
        viewer->ZoomAboutCursor(n < 10 ? 0.5 : 2.0);
        zooms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    viewer->ZoomAboutCursor(0.25);
    for (int n = 0; n < 20; ++n) {
        timer.restart();
        QTest::keyClick(viewer, n % 2 ? Qt::Key_Left : Qt::Key_Right);
        pans.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const double zoom = Median(zooms), pan = Median(pans);
    const double fileMb = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
    std::printf(
        "records %d, file %.1f MB: open %.0f ms (target 1000), zoom %.1f ms (max %.1f), "
        "pan %.1f ms (max %.1f) (target 30)\n",
        kRecords, fileMb, openMs, zoom, *std::ranges::max_element(zooms), pan,
        *std::ranges::max_element(pans));
    delete viewer;
    return openMs <= 1000 && zoom <= 30 && pan <= 30 ? 0 : 1;
}
