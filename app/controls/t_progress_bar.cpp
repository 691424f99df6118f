#include "app/controls/t_progress_bar.h"

#include "app/controls/accessible_controls.h"
#include "app/controls/control_error.h"

#include <QAccessible>
#include <QPainter>
#include <algorithm>
#include <qdrawutil.h>

namespace ordinalette::app {

TProgressBar::TProgressBar(QWidget* parent) : QWidget(parent) {
    installControlAccessibility();
}

void TProgressBar::setMin(int value) {
    const bool lowered = value < m_min;
    m_min = value;
    if (lowered || m_position < m_min)
        m_position = m_min;
    update();
}

void TProgressBar::setMax(int value) {
    if (value < m_min)
        throw EControlError("プロパティ TProgressBar の範囲を超えています");
    m_max = value;
    m_position = std::min(m_position, m_max);
    update();
}

void TProgressBar::setPosition(int value) {
    moveTo(std::clamp(value, m_min, m_max));
}

void TProgressBar::stepIt() {
    const long long next = static_cast<long long>(m_position) + m_step;
    moveTo(next > m_max ? m_min + static_cast<int>((next - m_min) % (m_max - m_min + 1))
                        : static_cast<int>(next));
}

int TProgressBar::filledWidth(int position) const {
    if (m_max <= m_min)
        return 0;
    return static_cast<int>(static_cast<long long>(inside().width()) * (position - m_min) /
                            (m_max - m_min));
}

QRect TProgressBar::inside() const {
    return rect().adjusted(2, 2, -2, -2);
}

void TProgressBar::moveTo(int position) {
    // A run steps the bar once per file; only steps that change the picture repaint it.
    const bool changesPicture = filledWidth(position) != filledWidth(m_position);
    m_position = position;
    if (!changesPicture)
        return;
    update();
    // Told as often as the picture changes, not once per file.
    QAccessibleValueChangeEvent changed(this, m_position);
    QAccessible::updateAccessibility(&changed);
}

void TProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    const QRect area = inside();
    const int filled = filledWidth(m_position);
    // Blocks two thirds as wide as the bar is high, with a gap of two pixels between them.
    const int blockWidth = std::max(2, area.height() * 2 / 3);
    for (int x = 0; x < filled; x += blockWidth + 2) {
        painter.fillRect(area.left() + x, area.top(), std::min(blockWidth, filled - x),
                         area.height(), palette().color(QPalette::Highlight));
    }
}

} // namespace ordinalette::app
