#pragma once

#include <string>

namespace ordinalette::form {

// The kinds and buttons of the message dialog, and the results its buttons give.
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
    std::u16string caption;
    int result = kResultNone;
    bool isDefault = false;
    bool isCancel = false;
};

} // namespace ordinalette::form
