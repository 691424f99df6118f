#include "foldertree/win32/hidden_window.h"

namespace ordinalette::foldertree {

HWND createHiddenWindow(const char* className, HWND parent, void* object, WNDPROC procedure) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    // Registering again fails, and the class registered first serves.
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, className, "", parent == HWND_MESSAGE ? 0 : WS_POPUP, 0,
                                        0, 0, 0, parent, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return window;
}

} // namespace ordinalette::foldertree
