#pragma once

#include <QDialog>
#include <QString>
#include <initializer_list>
#include <map>
#include <vector>

class QPushButton;

namespace ordinalette::app {

enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };
enum class MsgDlgBtn { Yes, No, Ok, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };

// Results of the buttons; the close box gives kResultCancel whatever the buttons. Buttons of a
// dialog's own may give other numbers.
inline constexpr int kResultNone = 0;
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;
inline constexpr int kResultAbort = 3;
inline constexpr int kResultRetry = 4;
inline constexpr int kResultIgnore = 5;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
inline constexpr int kResultAll = 8;
inline constexpr int kResultNoToAll = 9;
inline constexpr int kResultYesToAll = 10;

// A button of a dialog's own: its caption, its result, and whether Enter (default, while no
// button has the focus) or Escape (cancel) presses it.
struct DialogButton {
    QString caption;
    int result = kResultNone;
    bool isDefault = false;
    bool isCancel = false;
};

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
