#pragma once

#include <memory>
#include <string_view>
#include <vector>
#include <windows.h>

namespace ordinalette::win32 {

// TForm1 as a Win32 window: a fixed-size top-level window with every control of the layout
// table created as the platform's own control, at the table's place, in its parent, with its
// text in the system's code page. Escape and WM_CLOSE close it.
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
    // Runs the message loop until the window is closed.
    int run();

private:
    Form1Window() = default;
    bool createControls(HINSTANCE instance);

    HWND m_window = nullptr;
    HFONT m_font = nullptr;
    std::vector<HWND> m_controls; // one per row of the layout table, in its order
};

} // namespace ordinalette::win32
