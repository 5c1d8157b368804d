// Shared main of the test binaries: a headless Qt application and a silent audio driver
// unless the environment asks for others.
#include <gtest/gtest.h>
#include <cstdlib>
#ifdef TOLVANE_TEST_WIDGETS
#include <QApplication>
using TestApp = QApplication;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testing::InitGoogleTest(&argc, argv);
    TestApp app(argc, argv);
    return RUN_ALL_TESTS();
}
