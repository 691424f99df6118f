#include "app/controls/t_radio_group.h"

#include <QFontMetrics>
#include <QRadioButton>
#include <algorithm>

namespace ordinalette::app {

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {}

void TRadioGroup::setItems(const QStringList& items) {
    for (QRadioButton* button : m_buttons)
        delete button;
    m_buttons.clear();
    for (const QString& item : items) {
        auto* button = new QRadioButton(item, this);
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                Q_EMIT OnClick();
        });
        m_buttons.push_back(button);
        button->show();
    }
    arrangeButtons();
}

int TRadioGroup::ItemIndex() const {
    const auto checked = std::find_if(m_buttons.begin(), m_buttons.end(),
                                      [](QRadioButton* button) { return button->isChecked(); });
    return checked == m_buttons.end() ? -1 : static_cast<int>(checked - m_buttons.begin());
}

void TRadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, count() - 1);
    const int old = ItemIndex();
    if (index == old)
        return;
    if (index >= 0) {
        button(index)->setChecked(true);
        return;
    }
    // Auto-exclusive buttons refuse to uncheck the last checked one; lift that for a moment.
    QRadioButton* checked = button(old);
    checked->setAutoExclusive(false);
    checked->setChecked(false);
    checked->setAutoExclusive(true);
    Q_EMIT OnClick();
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    arrangeButtons();
}

void TRadioGroup::arrangeButtons() {
    if (m_buttons.empty())
        return;
    // The items share the height below the caption evenly, one above the other.
    const int top = fontMetrics().height() + 2;
    const int itemHeight = std::max(1, (height() - top - 4) / count());
    for (int i = 0; i < count(); ++i)
        button(i)->setGeometry(8, top + i * itemHeight, width() - 16, itemHeight);
}

} // namespace ordinalette::app
