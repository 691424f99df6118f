#include "win32/spin_edit.h"

#include "form/spin_edit_value.h"

#include <commctrl.h>
#include <vector>

namespace ordinalette::win32 {

namespace {

// The user's decimal separator, one character of ASCII in every locale that matters here.
std::u16string decimalPoint() {
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 1)
        return u".";
    return std::u16string(separator, separator + lstrlenA(separator));
}

} // namespace

SpinEdit::SpinEdit(HWND edit, std::int32_t minValue, std::int32_t maxValue)
    : m_edit(edit), m_minValue(minValue), m_maxValue(maxValue) {
    SetWindowSubclass(m_edit, procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

SpinEdit::~SpinEdit() {
    if (IsWindow(m_edit))
        RemoveWindowSubclass(m_edit, procedure, 0);
}

std::string SpinEdit::text() const {
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(m_edit)) + 1);
    const int length = GetWindowTextA(m_edit, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

void SpinEdit::setText(const std::string& text) {
    if (text != this->text())
        SetWindowTextA(m_edit, text.c_str());
}

std::int32_t SpinEdit::value() const {
    return form::spinEditValue(text(), m_minValue);
}

void SpinEdit::setValue(std::int32_t value) {
    setText(form::spinEditText(value, m_minValue, m_maxValue));
}

void SpinEdit::step(int delta) {
    if (IsWindowEnabled(m_edit))
        setText(form::steppedSpinEditText(text(), delta, m_minValue, m_maxValue));
}

bool SpinEdit::acceptsCharacter(WPARAM character) const {
    if (character == '\r')
        return false;
    if (character < 0x20)
        return true; // Backspace and the clipboard's keys
    if (character >= 0x80)
        return false; // no digit is a byte above ASCII
    const std::u16string typed(1, static_cast<char16_t>(character));
    return form::isSpinEditInput(typed, decimalPoint());
}

LRESULT CALLBACK SpinEdit::procedure(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self) {
    return reinterpret_cast<SpinEdit*>(self)->handle(message, wParam, lParam);
}

LRESULT SpinEdit::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // Enter and Escape stay in the field instead of pressing Start or End.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            return DefSubclassProc(m_edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
        break;
    case WM_CHAR:
        if (!acceptsCharacter(wParam)) {
            MessageBeep(MB_OK);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            step(wParam == VK_UP ? 1 : -1);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        // The arrows inside the field: the field steps its own text and the arrows keep no
        // position.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == UDN_DELTAPOS) {
            step(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta > 0 ? 1 : -1);
            return TRUE;
        }
        break;
    }
    case WM_VSCROLL:
        return 0; // the arrows' scroll messages: the step came by UDN_DELTAPOS
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(m_edit, message, wParam, lParam);
        if (const auto inRange = form::spinEditTextOnLeaving(text(), m_minValue, m_maxValue))
            setText(*inRange);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(m_edit, message, wParam, lParam);
}

} // namespace ordinalette::win32
