#include "foldertree/tests/qt_test_environment.h"

#include <QApplication>
#include <gtest/gtest.h>

// Runs the window tests on real widgets without a display.
int main(int argc, char* argv[]) {
    const ordinalette::foldertree::testing::QtTestEnvironment environment;
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName("Ordinalette");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
