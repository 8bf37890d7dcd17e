#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

// One QApplication for every test, on the offscreen platform unless told otherwise, with one
// screen of 1366 × 768, the smallest common laptop's. Listing the tests needs none.
// --scale=N runs them with QT_SCALE_FACTOR=N.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--scale=", 8) == 0) qputenv("QT_SCALE_FACTOR", argv[i] + 8);
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZEPHRAN_GUI_SCREEN);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
