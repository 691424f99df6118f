#include "app/controls/t_spin_edit.h"

#include "form/spin_edit_value.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QToolButton>

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
    return form::spinEditValue(text().toStdString(), m_minValue);
}

void TSpinEdit::SetValue(std::int32_t value) {
    setTextIfChanged(form::spinEditText(value, m_minValue, m_maxValue));
}

void TSpinEdit::setTextIfChanged(const std::string& newText) {
    const QString shown = QString::fromStdString(newText);
    if (shown != text())
        setText(shown);
}

void TSpinEdit::step(int delta) {
    setTextIfChanged(
        form::steppedSpinEditText(text().toStdString(), delta, m_minValue, m_maxValue));
}

bool TSpinEdit::acceptsTypedText(const QString& text) const {
    return form::isSpinEditInput(text.toStdU16String(), QLocale().decimalPoint().toStdU16String());
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
        if (const auto clamped =
                form::spinEditTextOnLeaving(text().toStdString(), m_minValue, m_maxValue))
            setTextIfChanged(*clamped);
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
