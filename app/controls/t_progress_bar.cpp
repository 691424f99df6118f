#include "app/controls/t_progress_bar.h"

#include "app/controls/control_error.h"

#include <QPainter>
#include <algorithm>
#include <qdrawutil.h>

namespace ordinalette::app {

TProgressBar::TProgressBar(QWidget* parent) : QWidget(parent) {}

void TProgressBar::SetMin(int value) {
    const bool lowered = value < m_min;
    m_min = value;
    if (lowered || m_position < m_min)
        m_position = m_min;
    update();
}

void TProgressBar::SetMax(int value) {
    if (value < m_min)
        throw EControlError("プロパティ TProgressBar の範囲を超えています");
    m_max = value;
    m_position = std::min(m_position, m_max);
    update();
}

void TProgressBar::SetPosition(int value) {
    m_position = std::clamp(value, m_min, m_max);
    update();
}

void TProgressBar::StepIt() {
    const long long next = static_cast<long long>(m_position) + m_step;
    m_position = next > m_max ? m_min + static_cast<int>((next - m_min) % (m_max - m_min + 1))
                              : static_cast<int>(next);
    update();
}

void TProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    if (m_max <= m_min)
        return;
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    const long long filled =
        static_cast<long long>(inside.width()) * (m_position - m_min) / (m_max - m_min);
    // Blocks two thirds as wide as the bar is high, with a gap of two pixels between them.
    const int blockWidth = std::max(2, inside.height() * 2 / 3);
    for (int x = 0; x < filled; x += blockWidth + 2) {
        const int width = std::min<long long>(blockWidth, filled - x);
        painter.fillRect(inside.left() + x, inside.top(), width, inside.height(),
                         palette().color(QPalette::Highlight));
    }
}

} // namespace ordinalette::app
