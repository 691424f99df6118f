#include "app/t_form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The window's geometry is in pixels and is not scaled on displays of another density.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName("Ordinalette");
    ordinalette::app::TForm1 form;
    form.show();
    return application.exec();
}
