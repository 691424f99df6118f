#include "win32/form1_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const auto window = ordinalette::win32::Form1Window::create(instance);
    if (!window)
        return 1;
    ShowWindow(window->handle(), show);
    return window->run();
}
