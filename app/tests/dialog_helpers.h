#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ordinalette::app::testing {

// Runs inspect on the widget that find gives once there is one (the code that opens it blocks in
// the widget's own loop); inspect must close it.
inline void whenOpens(std::function<QWidget*()> find, std::function<void(QWidget*)> inspect) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, find = std::move(find), inspect = std::move(inspect)] {
                         if (QWidget* opened = find()) {
                             timer->stop();
                             timer->deleteLater();
                             inspect(opened);
                         }
                     });
    timer->start();
}

// Runs inspect on the next modal dialog once it is open.
inline void whenModalOpens(std::function<void(QWidget*)> inspect) {
    whenOpens(&QApplication::activeModalWidget, std::move(inspect));
}

// Runs inspect on the next pop-up menu once it is open.
inline void whenPopupOpens(std::function<void(QWidget*)> inspect) {
    whenOpens(&QApplication::activePopupWidget, std::move(inspect));
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
