#pragma once

#include <QTest>

#include "app/zephran_app.h"
#include "frontends/qt/throttle.h"
#include "link/port_directory.h"
#include "platform/app_paths.h"
#include "support/temp_dir.h"

namespace zephran::qt {

// Live displays and the status bar are redrawn at most once per throttle interval.
inline void LetThrottledDisplaysCatchUp() {
    QTest::qWait(3 * Throttle::kIntervalMs);
}

// A program folder in dir, with the shipped language files.
inline AppPaths PathsIn(const testing::TempDir& dir) {
    return {dir.Path(), dir.File("Config.ini"), ExecutableDir() + "/Language", dir.File("Log"),
            dir.File("profile.ini")};
}

// No serial ports: empty system and device folders in dir.
inline PortDirectoryOptions NoPorts(const testing::TempDir& dir) {
    PortDirectoryOptions ports;
    ports.sysRoot = dir.File("sys");
    ports.devRoot = dir.File("dev");
    return ports;
}

// English chosen, the AHRS product set and no serial ports.
inline void PrepareEnglishAhrs(testing::TempDir& dir, const AppPaths& paths) {
    dir.Write("profile.ini", "[Settings]\nLanguage=english\n");
    dir.Write("sys/.keep", "");
    dir.Write("dev/.keep", "");
    CZephranApp(paths).PrepareSettings();
    CZephranApp(paths).Settings().Write("ProductSetting", "Product", "AHRS");
}

}  // namespace zephran::qt
