#pragma once

#include <windows.h>

namespace ordinalette::form {
class TForm1;
}

namespace ordinalette::win32 {

class Form1Window;

// The window's own keys, looked at before the dialog manager sees a message: Enter presses the
// focused button or else Start, Escape presses End (neither where the focused control keeps
// the key: a spin edit, an open drop-down list, a label being edited), F3 shows the new names,
// Ctrl+Z undoes the last run (except in an edit field, which undoes its typing).
class FormKeyboard {
public:
    FormKeyboard(const Form1Window& window, form::TForm1& form);

    // True when the message was one of these keys and is used up.
    bool handle(const MSG& message);

private:
    void press(HWND button) const;
    bool keptByFocus(const MSG& message) const;

    const Form1Window& m_window;
    form::TForm1& m_form;
};

} // namespace ordinalette::win32
