#pragma once

#include "form/dialog_question.h"

#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace ordinalette::win32 {

// The first button's control id in a question dialog; the others follow in their order.
inline constexpr int kFirstQuestionButton = 100;

// A modal question with buttons of its own, centred on the screen over a disabled owner: the
// kind's icon left of the message (wrapped at half the screen's width), the buttons in a row
// under it. Enter presses the focused button, or the default one while none has the focus;
// Escape presses the cancel button; the close box gives kResultCancel. caption is in the
// system's code page.
int askQuestion(HWND owner, HFONT font, std::u16string_view message, form::MsgDlgType type,
                const std::vector<form::DialogButton>& buttons, const std::string& caption);

} // namespace ordinalette::win32
