#include "app/controls/t_status_bar.h"

#include "app/controls/accessible_controls.h"

#include <QAccessible>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

namespace ordinalette::app {

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {
    installControlAccessibility();
}

void TStatusBar::setSimpleText(const QString& text) {
    m_text = text;
    update();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void TStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    // The single section: a sunken panel across the bar, one pixel in from its edges.
    const QRect section = rect().adjusted(0, 2, 0, 0);
    qDrawShadePanel(&painter, section, palette(), true, 1);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(section.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

} // namespace ordinalette::app
