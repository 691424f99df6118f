#include "win32/question_dialog.h"

#include "win32/system_text.h"
#include "win32/window_class.h"

#include <algorithm>
#include <optional>

namespace ordinalette::win32 {

namespace {

constexpr char kClassName[] = "OrdinaletteQuestion";
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// What one open question knows while it runs.
struct Question {
    const std::vector<form::DialogButton>& buttons;
    std::vector<HWND> buttonWindows;
    std::optional<int> result;
};

LPCSTR iconOf(form::MsgDlgType type) {
    switch (type) {
    case form::MsgDlgType::Warning:
        return reinterpret_cast<LPCSTR>(IDI_WARNING);
    case form::MsgDlgType::Error:
        return reinterpret_cast<LPCSTR>(IDI_ERROR);
    case form::MsgDlgType::Information:
        return reinterpret_cast<LPCSTR>(IDI_INFORMATION);
    case form::MsgDlgType::Confirmation:
        return reinterpret_cast<LPCSTR>(IDI_QUESTION);
    case form::MsgDlgType::Custom:
        break;
    }
    return nullptr;
}

LRESULT CALLBACK questionProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* question = reinterpret_cast<Question*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (question && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const auto index = static_cast<std::size_t>(LOWORD(wParam) - kFirstQuestionButton);
        if (index < question->buttons.size())
            question->result = question->buttons[index].result;
        return 0;
    }
    if (question && message == WM_CLOSE) {
        question->result = form::kResultCancel;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND addChild(HWND parent, const char* className, const std::string& text, DWORD style, RECT r,
              int id, HFONT font) {
    HWND child = CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// The message's size when wrapped at width.
SIZE textSize(HFONT font, const std::string& text, int width) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right, r.bottom};
}

// Builds the question's controls and returns the client size it needs.
SIZE layOut(HWND window, Question& question, HFONT font, const std::string& text,
            form::MsgDlgType type) {
    const LPCSTR icon = iconOf(type);
    const int textLeft = kMargin + (icon ? kIconSize + kMargin : 0);
    const SIZE measured = textSize(font, text, GetSystemMetrics(SM_CXSCREEN) / 2);
    const int textWidth = static_cast<int>(measured.cx);
    const int textHeight = static_cast<int>(measured.cy);
    if (icon) {
        HWND iconControl =
            addChild(window, "STATIC", "", SS_ICON,
                     {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize}, -1, font);
        SendMessageA(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon)),
                     0);
    }
    addChild(window, "STATIC", text, SS_LEFT | SS_NOPREFIX,
             {textLeft, kMargin, textLeft + textWidth, kMargin + textHeight}, -1, font);

    const int count = static_cast<int>(question.buttons.size());
    const int rowWidth = count * kButtonWidth + std::max(count - 1, 0) * kButtonGap;
    const int width = std::max(textLeft + textWidth, kMargin + rowWidth) + kMargin;
    const int top = kMargin + std::max(textHeight, icon ? kIconSize : 0) + kMargin;
    int left = (width - rowWidth) / 2;
    for (int i = 0; i < count; ++i) {
        const form::DialogButton& button = question.buttons[static_cast<std::size_t>(i)];
        question.buttonWindows.push_back(addChild(
            window, "BUTTON", systemText(button.caption),
            WS_TABSTOP | (button.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
            {left, top, left + kButtonWidth, top + kButtonHeight}, kFirstQuestionButton + i, font));
        left += kButtonWidth + kButtonGap;
    }
    return {width, top + kButtonHeight + kMargin};
}

// Presses the button that a key press stands for: Enter the focused one or the default one,
// Escape the cancel one. False for any other message.
bool pressForKey(HWND window, Question& question, const MSG& message) {
    if (message.message != WM_KEYDOWN ||
        (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
        return false;
    const auto& windows = question.buttonWindows;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const form::DialogButton& button = question.buttons[i];
        const bool pressed =
            message.wParam == VK_ESCAPE
                ? button.isCancel
                : GetFocus() == windows[i] ||
                      (button.isDefault &&
                       std::find(windows.begin(), windows.end(), GetFocus()) == windows.end());
        if (pressed) {
            SendMessageA(window, WM_COMMAND,
                         MAKEWPARAM(kFirstQuestionButton + static_cast<int>(i), BN_CLICKED),
                         reinterpret_cast<LPARAM>(windows[i]));
            return true;
        }
    }
    return true;
}

// Runs the question's own message loop until a button or the close box ends it.
int runModal(HWND window, Question& question) {
    MSG message;
    while (!question.result) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the loop of the window sees the request too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return form::kResultCancel;
        }
        if (pressForKey(window, question, message) || IsDialogMessageA(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return *question.result;
}

} // namespace

int askQuestion(HWND owner, HFONT font, std::u16string_view message, form::MsgDlgType type,
                const std::vector<form::DialogButton>& buttons, const std::string& caption) {
    if (!registerWindowClass(GetModuleHandleA(nullptr), kClassName, questionProcedure))
        return form::kResultCancel;
    HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, caption.c_str(), kStyle, 0, 0, 0,
                                  0, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return form::kResultCancel;
    Question question{buttons, {}, std::nullopt};
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&question));
    const SIZE client = layOut(window, question, font, systemText(message), type);
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_SHOWWINDOW);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].isDefault)
            SetFocus(question.buttonWindows[i]);
    }
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    const int result = runModal(window, question);
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    DestroyWindow(window);
    if (owner)
        SetActiveWindow(owner);
    return result;
}

} // namespace ordinalette::win32
