#pragma once

#include <QDialog>
#include <QString>
#include <initializer_list>
#include <map>

class QPushButton;

namespace ordinalette::app {

enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };
enum class MsgDlgBtn { Yes, No, Ok, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };

// Results of the buttons; the close box gives mrCancel whatever the buttons.
enum ModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// A modal message box centred on the screen: icon and text above a row of buttons, with the
// caption of its kind. The text wraps at half the screen's width.
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    MessageDialog(const QString& message, MsgDlgType type, std::initializer_list<MsgDlgBtn> buttons,
                  QWidget* parent = nullptr);

    // nullptr when the button was not asked for.
    QPushButton* button(MsgDlgBtn which) const;
    QPushButton* defaultButton() const { return m_default; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    std::map<MsgDlgBtn, QPushButton*> m_buttons;
    QPushButton* m_default = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Shows a message dialog and returns the result of the button that closed it.
int MessageDlg(const QString& message, MsgDlgType type, std::initializer_list<MsgDlgBtn> buttons);

} // namespace ordinalette::app
