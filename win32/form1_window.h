#pragma once

#include "form/filter_string.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>
#include <windows.h>

namespace ordinalette::win32 {

// TForm1 as a Win32 window: a fixed-size top-level window with every control of the layout
// table created as the platform's own control, at the table's place, in its parent, with its
// text in the system's code page, in the table's tab order. The group boxes pass their
// children's notifications on to the window, so that the window hears of every control.
class Form1Window {
public:
    // Creates the window hidden; nullptr when Windows refuses the class, window or a control.
    static std::unique_ptr<Form1Window> create(HINSTANCE instance);
    ~Form1Window();
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND handle() const { return m_window; }
    // The window of the table's control of that name; nullptr for a name the table lacks.
    HWND control(std::string_view name) const;
    // The radio button of a radio group's item; nullptr for an index it lacks.
    HWND radioItem(std::string_view group, int index) const;
    // The filter list's entries, in the list's order, texts and masks in the system's code page.
    const std::vector<form::FilterEntry>& filterEntries() const { return m_filterEntries; }
    HFONT font() const { return m_font; }

    // Sees every message of the window first; where it returns true, result is the answer.
    // Without it, a close request destroys the window.
    using MessageHandler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT& result)>;
    void setMessageHandler(MessageHandler handler) { m_handler = std::move(handler); }

private:
    Form1Window() = default;
    bool createControls(HINSTANCE instance);
    void orderByTabOrder();
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    HFONT m_font = nullptr;
    std::vector<HWND> m_controls; // one per row of the layout table, in its order
    std::vector<form::FilterEntry> m_filterEntries;
    MessageHandler m_handler;
};

} // namespace ordinalette::win32
