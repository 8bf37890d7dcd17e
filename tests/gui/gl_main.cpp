#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

// The 3-D views' tests: one QApplication on the X display (tests/gui/with_xvfb.sh gives them
// one), so that OpenGL works. --scale=N runs them with QT_SCALE_FACTOR=N.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--scale=", 8) == 0) qputenv("QT_SCALE_FACTOR", argv[i] + 8);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
