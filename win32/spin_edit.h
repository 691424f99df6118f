#pragma once

#include <cstdint>
#include <string>
#include <windows.h>

namespace ordinalette::win32 {

// A spin edit over an edit control with up-down arrows inside it: the text is the only store of
// the value (form/spin_edit_value.h). Only digits, signs and the decimal point can be typed;
// Enter is refused with a beep and, like Escape, stays in the field. The arrows and the Up and
// Down keys step the value as read; leaving the field brings a number outside the range into
// it. Every change of the text reaches the parent as the edit's EN_CHANGE.
class SpinEdit {
public:
    SpinEdit(HWND edit, std::int32_t minValue, std::int32_t maxValue);
    ~SpinEdit();
    SpinEdit(const SpinEdit&) = delete;
    SpinEdit& operator=(const SpinEdit&) = delete;

    HWND handle() const { return m_edit; }
    // The text read as an integer; the minimum when it is none. Never clamped.
    std::int32_t value() const;
    // Clamps to the range (not when minimum and maximum are equal) and writes the text.
    void setValue(std::int32_t value);
    // A plain store: neither changes the text nor reports a change.
    void setMinValue(std::int32_t value) { m_minValue = value; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    std::string text() const;
    // Writes the text where it differs, so that setting the same text reports nothing.
    void setText(const std::string& text);
    void step(int delta);
    bool acceptsCharacter(WPARAM character) const;

    HWND m_edit;
    std::int32_t m_minValue;
    std::int32_t m_maxValue;
};

} // namespace ordinalette::win32
