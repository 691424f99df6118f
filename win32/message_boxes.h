#pragma once

#include "form/dialog_question.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <windows.h>

namespace ordinalette::win32 {

// The message dialog in the platform's message box, modal over owner, with the caption and icon
// of its kind; the result of the button that closed it. The buttons must be a set the platform's
// box offers (OK; OK and Cancel; Yes and No; Yes, No and Cancel; Retry and Cancel; Abort, Retry
// and Ignore).
int showMessageBox(HWND owner, std::u16string_view message, form::MsgDlgType type,
                   std::initializer_list<form::MsgDlgBtn> buttons);

// The error box of an error that left a handler (UTF-8): any mouse capture ends, and the
// platform's message box shows the message with its dot under the application's title, with
// the stop sign and one OK button.
void showErrorBox(HWND owner, const std::string& message);

} // namespace ordinalette::win32
