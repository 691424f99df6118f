#pragma once

#include "app/form_builder.h"

#include <QObject>
#include <vector>

class QAbstractButton;
class QKeyEvent;

namespace ordinalette::app {

// The window's own keyboard handling: the Tab cycle over the tab stops, the arrow keys among
// the controls of one parent while a button has the focus, Enter for the default button and
// Escape for the cancel button (except where the focused control keeps the key), and Ctrl+Z
// for undoing the last run (except in an editable field, spin edits too, where it undoes the
// typing).
class FormKeyboard : public QObject {
    Q_OBJECT
public:
    FormKeyboard(std::vector<TabEntry> chain, QAbstractButton* defaultButton,
                 QAbstractButton* cancelButton, QObject* parent = nullptr);

    // Moves the focus to the next (or previous) tab stop after the focused control.
    bool focusNextTabStop(bool forward);

Q_SIGNALS:
    void undoRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QWidget* focused, const QKeyEvent& key);
    bool moveAmongSiblings(QWidget* focused, bool forward);
    int indexOf(const QWidget* widget) const;

    std::vector<TabEntry> m_chain;
    QAbstractButton* m_defaultButton;
    QAbstractButton* m_cancelButton;
};

} // namespace ordinalette::app
