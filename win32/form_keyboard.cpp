#include "win32/form_keyboard.h"

#include "form/t_form1.h"
#include "win32/form1_window.h"

#include <string>

namespace ordinalette::win32 {

namespace {

bool pressed(int key) {
    return GetKeyState(key) & 0x8000;
}

bool withoutShiftCtrlAlt() {
    return !pressed(VK_SHIFT) && !pressed(VK_CONTROL) && !pressed(VK_MENU);
}

bool isEditField(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "Edit") == 0;
}

} // namespace

FormKeyboard::FormKeyboard(const Form1Window& window, form::TForm1& form)
    : m_window(window), m_form(form) {}

void FormKeyboard::press(HWND button) const {
    if (button && IsWindowEnabled(button))
        SendMessageA(m_window.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
}

bool FormKeyboard::keptByFocus(const MSG& message) const {
    const LRESULT code =
        SendMessageA(GetFocus(), WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    return code & DLGC_WANTALLKEYS;
}

bool FormKeyboard::handle(const MSG& message) {
    HWND main = m_window.handle();
    if (message.message != WM_KEYDOWN || (message.hwnd != main && !IsChild(main, message.hwnd)))
        return false;
    HWND start = m_window.control("BitBtn1");
    HWND end = m_window.control("BitBtn2");
    switch (message.wParam) {
    case VK_RETURN: {
        if (!withoutShiftCtrlAlt() || keptByFocus(message))
            return false;
        const HWND focus = GetFocus();
        press(focus == start || focus == end ? focus : start);
        return true;
    }
    case VK_ESCAPE:
        if (!withoutShiftCtrlAlt() || keptByFocus(message))
            return false;
        press(end);
        return true;
    case VK_F3:
        m_form.namePreviewRequested();
        return true;
    case 'Z':
        if (!pressed(VK_CONTROL) || pressed(VK_SHIFT) || pressed(VK_MENU) ||
            isEditField(GetFocus()))
            return false;
        m_form.undoRequested();
        return true;
    default:
        return false;
    }
}

} // namespace ordinalette::win32
