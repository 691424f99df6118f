#include "app/controls/t_progress_bar.h"

#include "app/controls/accessible_controls.h"

#include <QAccessible>
#include <QPainter>
#include <algorithm>
#include <qdrawutil.h>

namespace ordinalette::app {

TProgressBar::TProgressBar(QWidget* parent) : QWidget(parent) {
    installControlAccessibility();
}

void TProgressBar::setMin(int value) {
    m_range.setMin(value);
    update();
}

void TProgressBar::setMax(int value) {
    m_range.setMax(value);
    update();
}

void TProgressBar::setPosition(int value) {
    const form::ProgressRange before = m_range;
    m_range.setPosition(value);
    movedFrom(before);
}

void TProgressBar::stepIt() {
    const form::ProgressRange before = m_range;
    m_range.stepIt();
    movedFrom(before);
}

QRect TProgressBar::inside() const {
    return rect().adjusted(2, 2, -2, -2);
}

void TProgressBar::movedFrom(const form::ProgressRange& before) {
    // A run steps the bar once per file; only steps that change the picture repaint it.
    const int width = inside().width();
    if (before.filledWidth(width) == m_range.filledWidth(width))
        return;
    update();
    // Told as often as the picture changes, not once per file.
    QAccessibleValueChangeEvent changed(this, m_range.position());
    QAccessible::updateAccessibility(&changed);
}

void TProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    const QRect area = inside();
    const int filled = m_range.filledWidth(area.width());
    // Blocks two thirds as wide as the bar is high, with a gap of two pixels between them.
    const int blockWidth = std::max(2, area.height() * 2 / 3);
    for (int x = 0; x < filled; x += blockWidth + 2) {
        painter.fillRect(area.left() + x, area.top(), std::min(blockWidth, filled - x),
                         area.height(), palette().color(QPalette::Highlight));
    }
}

} // namespace ordinalette::app
