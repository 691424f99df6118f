#include "win32/message_hand_over.h"

namespace ordinalette::win32 {

namespace {

constexpr char kClassName[] = "OrdinaletteHandOver";
constexpr UINT kRunCall = WM_APP + 1;

ATOM registerWindowClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass);
}

} // namespace

MessageHandOver::MessageHandOver() {
    static const ATOM windowClass = registerWindowClass();
    m_window = CreateWindowExA(0, MAKEINTATOM(windowClass), "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!m_window)
        return;
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProcedure));
}

MessageHandOver::~MessageHandOver() {
    // The messages still posted go to a window that is gone, and Windows drops them.
    if (m_window)
        DestroyWindow(m_window);
}

void MessageHandOver::post(std::function<void()> call) {
    {
        const std::lock_guard lock(m_lock);
        m_calls.push_back(std::move(call));
    }
    PostMessageA(m_window, kRunCall, 0, 0);
}

std::function<void()> MessageHandOver::takeCall() {
    const std::lock_guard lock(m_lock);
    if (m_calls.empty())
        return {};
    std::function<void()> call = std::move(m_calls.front());
    m_calls.pop_front();
    return call;
}

LRESULT CALLBACK MessageHandOver::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message != kRunCall)
        return DefWindowProcA(window, message, wParam, lParam);
    auto* self = reinterpret_cast<MessageHandOver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // One call per message, and nothing of the object touched after it: the call may destroy it.
    if (const std::function<void()> call = self ? self->takeCall() : nullptr)
        call();
    return 0;
}

} // namespace ordinalette::win32
