#include "app/controls/t_spin_edit.h"

#include "platform/integer_text.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QToolButton>
#include <algorithm>

namespace ordinalette::app {

namespace {

constexpr int kButtonWidth = 15;
// Held down, a button first repeats after this delay, then at this interval.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;

QToolButton* makeSpinButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

} // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QLineEdit(parent), m_upButton(makeSpinButton(this, Qt::UpArrow)),
      m_downButton(makeSpinButton(this, Qt::DownArrow)) {
    setTextMargins(0, 0, kButtonWidth, 0);
    // QToolButton acts on release and repeats while held, each repeat being one click.
    connect(m_upButton, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_downButton, &QToolButton::clicked, this, [this] { step(-1); });
    connect(this, &QLineEdit::textChanged, this, [this] { Q_EMIT OnChange(); });
}

std::int32_t TSpinEdit::Value() const {
    return platform::parseIntegerText(text().toStdString()).value_or(m_minValue);
}

void TSpinEdit::SetValue(std::int32_t value) {
    if (m_minValue != m_maxValue)
        value = std::clamp(value, std::min(m_minValue, m_maxValue), m_maxValue);
    const QString newText = QString::fromStdString(platform::decimalText(value));
    if (newText != text())
        setText(newText);
}

void TSpinEdit::step(int delta) {
    const std::int64_t stepped = static_cast<std::int64_t>(Value()) + delta;
    SetValue(static_cast<std::int32_t>(std::clamp<std::int64_t>(stepped, INT32_MIN, INT32_MAX)));
}

bool TSpinEdit::acceptsTypedText(const QString& text) const {
    const QString decimalPoint = QLocale().decimalPoint();
    return std::all_of(text.begin(), text.end(), [&](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || decimalPoint.contains(c);
    });
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        step(1);
        return;
    case Qt::Key_Down:
        step(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QApplication::beep();
        return;
    case Qt::Key_Escape:
        return;
    default:
        break;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && !typed.front().isNull() && typed.front() >= u' ' &&
                           typed.front() != QChar(0x7F);
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
        !acceptsTypedText(typed)) {
        QApplication::beep();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TSpinEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !acceptsTypedText(event->commitString())) {
        QApplication::beep();
        QInputMethodEvent cleared(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&cleared);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    // Only leaving for another control of the window counts, not the window losing activation.
    const bool leftForAnotherControl =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (leftForAnotherControl) {
        const auto typed = platform::parseIntegerText(text().toStdString());
        if (typed && (*typed < m_minValue || *typed > m_maxValue))
            SetValue(*typed);
    }
    QLineEdit::focusOutEvent(event);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    constexpr int kFrame = 2;
    const int innerHeight = height() - 2 * kFrame;
    const int upHeight = (innerHeight + 1) / 2;
    const int left = width() - kFrame - kButtonWidth;
    m_upButton->setGeometry(left, kFrame, kButtonWidth, upHeight);
    m_downButton->setGeometry(left, kFrame + upHeight, kButtonWidth, innerHeight - upHeight);
}

} // namespace ordinalette::app
