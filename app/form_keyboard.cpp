#include "app/form_keyboard.h"

#include "app/controls/t_spin_edit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <algorithm>

namespace ordinalette::app {

namespace {

bool canTakeFocus(const QWidget* widget) {
    return widget->isEnabled() && widget->isVisibleTo(widget->window()) &&
           widget->focusPolicy() != Qt::NoFocus;
}

bool isTabStop(const TabEntry& entry) {
    if (!canTakeFocus(entry.widget))
        return false;
    switch (entry.tabStop) {
    case form::TabStop::Yes:
        return true;
    case form::TabStop::WhileChecked: {
        const auto* radio = qobject_cast<const QRadioButton*>(entry.widget);
        return radio && radio->isChecked();
    }
    case form::TabStop::No:
        break;
    }
    return false;
}

bool withoutShiftCtrlAlt(const QKeyEvent& key) {
    return !(key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
}

// An editor opened inside a control, such as the folder tree's label editor, ends its edit with
// Enter or Escape; the key reaches the control only because the editor passed it on.
bool editorInsideHasTheFocus(const QWidget* control) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && focus != control && control->isAncestorOf(focus);
}

// Every editable field, the spin edits among them, keeps Ctrl+Z for undoing its own typing.
bool keepsItsOwnUndo(const QWidget* focused) {
    return qobject_cast<const QLineEdit*>(focused) || editorInsideHasTheFocus(focused);
}

void press(QAbstractButton* button) {
    if (button && button->isEnabled() && button->isVisible())
        button->click();
}

} // namespace

FormKeyboard::FormKeyboard(std::vector<TabEntry> chain, QAbstractButton* defaultButton,
                           QAbstractButton* cancelButton, QObject* parent)
    : QObject(parent), m_chain(std::move(chain)), m_defaultButton(defaultButton),
      m_cancelButton(cancelButton) {
    for (const TabEntry& entry : m_chain)
        entry.widget->installEventFilter(this);
}

int FormKeyboard::indexOf(const QWidget* widget) const {
    for (std::size_t i = 0; i < m_chain.size(); ++i) {
        if (m_chain[i].widget == widget)
            return static_cast<int>(i);
    }
    return -1;
}

bool FormKeyboard::focusNextTabStop(bool forward) {
    const int count = static_cast<int>(m_chain.size());
    if (count == 0)
        return false;
    const int current = indexOf(QApplication::focusWidget());
    int index = current < 0 ? (forward ? -1 : count) : current;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + (forward ? 1 : -1) + count) % count;
        if (isTabStop(m_chain[static_cast<std::size_t>(index)])) {
            m_chain[static_cast<std::size_t>(index)].widget->setFocus(
                forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

bool FormKeyboard::moveAmongSiblings(QWidget* focused, bool forward) {
    std::vector<QWidget*> siblings;
    for (const TabEntry& entry : m_chain) {
        if (entry.widget->parentWidget() == focused->parentWidget())
            siblings.push_back(entry.widget);
    }
    const auto count = static_cast<int>(siblings.size());
    int index =
        static_cast<int>(std::find(siblings.begin(), siblings.end(), focused) - siblings.begin());
    for (int tried = 0; tried < count; ++tried) {
        index = (index + (forward ? 1 : -1) + count) % count;
        QWidget* next = siblings[static_cast<std::size_t>(index)];
        if (canTakeFocus(next)) {
            next->setFocus(Qt::OtherFocusReason);
            // A radio button reached by the arrow keys is checked as if it had been clicked.
            if (auto* radio = qobject_cast<QRadioButton*>(next))
                radio->setChecked(true);
            return true;
        }
    }
    return true;
}

bool FormKeyboard::handleKey(QWidget* focused, const QKeyEvent& key) {
    // The folder tree's label editor keeps its Enter and Escape by itself.
    const bool keptByControl = qobject_cast<TSpinEdit*>(focused) != nullptr;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        return focusNextTabStop(key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (keptByControl || !withoutShiftCtrlAlt(key))
            return false;
        if (auto* button = qobject_cast<QPushButton*>(focused))
            press(button);
        else
            press(m_defaultButton);
        return true;
    case Qt::Key_Escape:
        if (keptByControl || !withoutShiftCtrlAlt(key))
            return false;
        press(m_cancelButton);
        return true;
    case Qt::Key_Z:
        if (key.modifiers() != Qt::ControlModifier || keepsItsOwnUndo(focused))
            return false;
        Q_EMIT undoRequested();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (!qobject_cast<QAbstractButton*>(focused) || !withoutShiftCtrlAlt(key))
            return false;
        return moveAmongSiblings(focused, key.key() == Qt::Key_Right || key.key() == Qt::Key_Down);
    default:
        return false;
    }
}

bool FormKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
        return handleKey(static_cast<QWidget*>(watched), static_cast<const QKeyEvent&>(*event));
    return QObject::eventFilter(watched, event);
}

} // namespace ordinalette::app
