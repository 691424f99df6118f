#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace ordinalette::foldertree {

// Tells the user's end of a label edit from the program's, and keeps the Enter and Escape
// meant for the edit from the rest of the window. The user ends an edit with Enter, Tab, Escape
// or by moving the focus away; anything else that closes the editor (its node deleted by a
// re-read, the selection moved by a mount change) is the program's, and its text is dropped.
// From the start of an edit until the user's own end of it has been typed, the press and the
// release included, no Enter or Escape outside the editor reaches the window: the key the user
// types to end an edit that the program ended a moment before is the edit's too.
class LabelEditGuard : public QObject {
public:
    // Guards the label edits of a view, watching the keys of the view's whole window.
    explicit LabelEditGuard(QWidget* view);

    // An edit began in this editor.
    void begin(QWidget* editor);
    // Whether the user has ended the current edit with Enter, Tab or a move of the focus, so
    // that the typed text may be taken.
    bool endedByUser() const { return m_endedByUser; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Who Enter and Escape belong to.
    enum class Keys {
        Window, // the window's: Start and End
        Edit,   // the label edit's, while it lasts and after the program ended it
        Ending  // the edit's until the key the user ended it with is released
    };

    bool keyPressed(const QKeyEvent& key, bool inEditor);
    void keyReleased(const QKeyEvent& key);
    bool editorOpen() const;

    QWidget* m_view;
    QPointer<QWidget> m_editor;
    bool m_endedByUser = false;
    Keys m_keys = Keys::Window;
    int m_endingKey = 0;
};

} // namespace ordinalette::foldertree
