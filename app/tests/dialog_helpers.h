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

// Runs inspect on every modal dialog that opens while it lives; inspect must close each.
class EveryModal {
public:
    explicit EveryModal(std::function<void(QWidget*)> inspect) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, inspect = std::move(inspect)] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || dialog == m_inspecting)
                return;
            m_inspecting = dialog;
            inspect(dialog);
            m_inspecting = nullptr;
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
    QWidget* m_inspecting = nullptr;
};

} // namespace ordinalette::app::testing
