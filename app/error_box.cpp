#include "app/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace ordinalette::app {

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ShowErrorBox(const QString& message) {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                    errorBoxText(message), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ShowException(const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()));
}

} // namespace ordinalette::app
