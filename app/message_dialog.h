#pragma once

#include "form/dialog_question.h"

#include <QDialog>
#include <QString>
#include <initializer_list>
#include <map>
#include <vector>

class QPushButton;

namespace ordinalette::app {

// The kinds, buttons and results of the window's questions, as the dialog shows them.
using form::DialogButton;
using form::kResultAbort;
using form::kResultAll;
using form::kResultCancel;
using form::kResultIgnore;
using form::kResultNo;
using form::kResultNone;
using form::kResultNoToAll;
using form::kResultOk;
using form::kResultRetry;
using form::kResultYes;
using form::kResultYesToAll;
using form::MsgDlgBtn;
using form::MsgDlgType;

// A modal message box centred on the screen: icon and text above a row of buttons, with the
// caption of its kind. The text wraps at half the screen's width.
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    MessageDialog(const QString& message, MsgDlgType type, std::initializer_list<MsgDlgBtn> buttons,
                  QWidget* parent = nullptr);
    // With buttons of its own, in the order given, and a caption of its own unless it is empty.
    MessageDialog(const QString& message, MsgDlgType type, const std::vector<DialogButton>& buttons,
                  const QString& caption = {}, QWidget* parent = nullptr);

    // nullptr when the button was not asked for.
    QPushButton* button(MsgDlgBtn which) const;
    QPushButton* defaultButton() const { return m_default; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    std::vector<QPushButton*> m_row;
    std::map<MsgDlgBtn, QPushButton*> m_buttons;
    QPushButton* m_default = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Shows a message dialog and returns the result of the button that closed it.
int messageDlg(const QString& message, MsgDlgType type, std::initializer_list<MsgDlgBtn> buttons);
int messageDlg(const QString& message, MsgDlgType type, const std::vector<DialogButton>& buttons,
               const QString& caption = {});

} // namespace ordinalette::app
