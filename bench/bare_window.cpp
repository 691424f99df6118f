// The baseline of startup_bench: a bare Qt Widgets window of the main window's size, shown
// until the benchmark ends it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(616, 447);
    window.show();
    return application.exec();
}
