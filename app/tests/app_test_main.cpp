#include "app/tree/tests/qt_test_environment.h"

#include <QApplication>
#include <gtest/gtest.h>

// Runs the window tests on real widgets without a display, on a virtual screen of 1600 x 1200
// pixels (the platform's own is 800 x 600, smaller than most desktops).
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ORDINALETTE_TEST_SCREEN);
    const ordinalette::foldertree::testing::QtTestEnvironment environment;
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName("Ordinalette");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
