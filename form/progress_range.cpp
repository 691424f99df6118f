#include "form/progress_range.h"

#include "form/control_error.h"

#include <algorithm>

namespace ordinalette::form {

void ProgressRange::setMin(int value) {
    const bool lowered = value < m_min;
    m_min = value;
    if (lowered || m_position < m_min)
        m_position = m_min;
}

void ProgressRange::setMax(int value) {
    if (value < m_min)
        throw EControlError("プロパティ TProgressBar の範囲を超えています");
    m_max = value;
    m_position = std::min(m_position, m_max);
}

void ProgressRange::setPosition(int value) {
    m_position = std::clamp(value, m_min, m_max);
}

void ProgressRange::stepIt() {
    const long long next = static_cast<long long>(m_position) + m_step;
    m_position = next > m_max ? m_min + static_cast<int>((next - m_min) % (m_max - m_min + 1))
                              : static_cast<int>(next);
}

int ProgressRange::filledWidth(int width) const {
    if (m_max <= m_min)
        return 0;
    return static_cast<int>(static_cast<long long>(width) * (m_position - m_min) / (m_max - m_min));
}

} // namespace ordinalette::form
