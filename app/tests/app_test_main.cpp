#include <QApplication>
#include <gtest/gtest.h>

// Runs the window tests on real widgets without a display.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName("Ordinalette");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
