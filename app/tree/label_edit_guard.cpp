#include "app/tree/label_edit_guard.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace ordinalette::foldertree {

LabelEditGuard::LabelEditGuard(QWidget* view) : m_view(view) {
    // The key that ends an edit the program ended goes wherever the focus went: the guard
    // sees the keys of every widget before the widget and the window's own key handling do.
    QApplication::instance()->installEventFilter(this);
}

void LabelEditGuard::begin(QWidget* editor) {
    m_editor = editor;
    m_endedByUser = false;
    m_keys = Keys::Edit;
}

bool LabelEditGuard::editorOpen() const {
    return m_editor && !m_editor->isHidden();
}

bool LabelEditGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::FocusOut &&
         type != QEvent::MouseButtonPress) ||
        !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != m_view->window())
        return false;
    const bool inEditor = m_editor && (widget == m_editor || m_editor->isAncestorOf(widget));
    switch (type) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<const QKeyEvent&>(*event), inEditor);
    case QEvent::KeyRelease:
        keyReleased(static_cast<const QKeyEvent&>(*event));
        return false;
    case QEvent::FocusOut:
        // The focus leaving an editor that stays is the user's doing; an editor the program
        // takes away is hidden first.
        if (widget == m_editor && editorOpen() &&
            static_cast<const QFocusEvent&>(*event).reason() != Qt::OtherFocusReason) {
            m_endedByUser = true;
            m_keys = Keys::Window;
        }
        return false;
    default:
        // A click outside an open editor: the user has turned to the window.
        if (!inEditor && !editorOpen())
            m_keys = Keys::Window;
        return false;
    }
}

bool LabelEditGuard::keyPressed(const QKeyEvent& key, bool inEditor) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // In the editor Tab ends the edit with its text; anywhere it moves the user on.
        if (inEditor)
            m_endedByUser = true;
        if (m_keys == Keys::Edit)
            m_keys = Keys::Window;
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        if (m_keys == Keys::Edit) {
            m_keys = Keys::Ending;
            m_endingKey = key.key();
            if (inEditor && key.key() != Qt::Key_Escape)
                m_endedByUser = true;
        }
        // The editor takes the key and ends the edit with it; nothing else gets it, not even
        // the view the editor passes it on to.
        return !inEditor && (m_keys != Keys::Window || editorOpen());
    default:
        return false;
    }
}

void LabelEditGuard::keyReleased(const QKeyEvent& key) {
    if (m_keys == Keys::Ending && key.key() == m_endingKey && !key.isAutoRepeat())
        m_keys = Keys::Window;
}

} // namespace ordinalette::foldertree
