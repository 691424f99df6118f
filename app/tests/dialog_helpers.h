#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ordinalette::app::testing {

// Runs inspect on the next modal dialog once it is open (the code that opens it blocks in
// the dialog's own loop); inspect must close the dialog.
inline void whenModalOpens(std::function<void(QWidget*)> inspect) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect = std::move(inspect)] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            inspect(dialog);
        }
    });
    timer->start();
}

} // namespace ordinalette::app::testing
