#include "win32/form1_window.h"

#include "form/filter_string.h"
#include "form/form_layout.h"
#include "win32/system_text.h"

#include <commctrl.h>
#include <string>

namespace ordinalette::win32 {

namespace {

using form::ControlDescription;
using form::ControlKind;

constexpr char kWindowClass[] = "TForm1";
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;
// The window's frame: a caption and a system menu, no sizing border and no maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kUpDownWidth = 16;
// Where the first item of a radio group starts below the group's caption.
constexpr int kRadioGroupCaption = 16;

// The class and styles of the platform's control for one kind of the table.
struct ControlClass {
    const char* name;
    DWORD style;
    DWORD exStyle = 0;
};

ControlClass controlClass(const ControlDescription& d) {
    switch (d.kind) {
    case ControlKind::ShellTreeView:
        return {WC_TREEVIEWA, WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    case ControlKind::StatusBar:
        // The table places it; the status bar does not move itself to the parent's bottom.
        return {STATUSCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN};
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup:
        return {"BUTTON", BS_GROUPBOX};
    case ControlKind::Label:
        return {"STATIC", SS_LEFT};
    case ControlKind::RadioButton:
        return {"BUTTON", BS_AUTORADIOBUTTON};
    case ControlKind::SpinEdit:
    case ControlKind::Edit:
        return {"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
        return {"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::BitBtn:
        return {"BUTTON", static_cast<DWORD>(WS_TABSTOP |
                                             (d.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON))};
    case ControlKind::FilterComboBox:
        return {"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::ProgressBar:
        return {PROGRESS_CLASSA, 0};
    }
    return {"STATIC", 0};
}

HWND createChild(const char* className, DWORD style, DWORD exStyle, const std::string& text, int x,
                 int y, int width, int height, HWND parent, int id, HINSTANCE instance,
                 HFONT font) {
    HWND child = CreateWindowExA(
        exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// The up-down arrows of a spin edit, inside the edit's right edge so that the edit keeps the
// table's place; the edit's text is the value.
bool addUpDown(HWND edit, const ControlDescription& d, HINSTANCE instance) {
    RECT client;
    GetClientRect(edit, &client);
    HWND upDown = CreateWindowExA(0, UPDOWN_CLASSA, "",
                                  WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS,
                                  client.right - kUpDownWidth, 0, kUpDownWidth, client.bottom, edit,
                                  nullptr, instance, nullptr);
    if (!upDown)
        return false;
    SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(upDown, UDM_SETRANGE32, d.minValue, d.maxValue);
    return true;
}

// The items of a radio group, one radio button per line, spread over the group below its
// caption.
bool addRadioItems(HWND group, const ControlDescription& d, HINSTANCE instance, HFONT font) {
    std::vector<std::string> items;
    for (std::string_view rest = d.items; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        items.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const int rowHeight = (d.height - kRadioGroupCaption - 4) / static_cast<int>(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        HWND item = createChild("BUTTON", BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), 0,
                                systemText(items[i].c_str()), 8,
                                kRadioGroupCaption + static_cast<int>(i) * rowHeight, d.width - 16,
                                rowHeight, group, static_cast<int>(i) + 1, instance, font);
        if (!item)
            return false;
        if (static_cast<int>(i) == d.itemIndex)
            SendMessageA(item, BM_SETCHECK, BST_CHECKED, 0);
    }
    return true;
}

// The texts of a filter list's entries, the first one selected.
bool addFilterEntries(HWND combo, const ControlDescription& d) {
    const platform::CodePage codePage = platform::CodePage::system();
    for (const form::FilterEntry& entry : form::parseFilterString(systemText(d.text), codePage)) {
        if (SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str())) < 0)
            return false;
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return true;
}

// What a control holds before any handler runs, beyond its text.
bool initialise(HWND control, const ControlDescription& d, HINSTANCE instance, HFONT font) {
    if (d.checked)
        SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    if (!d.enabled)
        EnableWindow(control, FALSE);
    switch (d.kind) {
    case ControlKind::SpinEdit:
        return addUpDown(control, d, instance);
    case ControlKind::RadioGroup:
        return addRadioItems(control, d, instance, font);
    case ControlKind::FilterComboBox:
        return addFilterEntries(control, d);
    case ControlKind::ProgressBar:
        SendMessageA(control, PBM_SETRANGE32, d.minValue, d.maxValue);
        SendMessageA(control, PBM_SETSTEP, d.step, 0);
        return true;
    default:
        return true;
    }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = instance;
    // The program's icon, in the title bar and the task bar; none where the module has none.
    wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

std::unique_ptr<Form1Window> Form1Window::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    if (!InitCommonControlsEx(&common) || !registerWindowClass(instance))
        return nullptr;
    const form::FormDescription& f = form::form1Description();
    RECT frame{0, 0, f.clientWidth, f.clientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    std::unique_ptr<Form1Window> window(new Form1Window);
    window->m_window = CreateWindowExA(
        0, kWindowClass, systemText(f.caption).c_str(), kWindowStyle, f.left, f.top,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window->m_window || !window->createControls(instance))
        return nullptr;
    return window;
}

Form1Window::~Form1Window() {
    if (m_window && IsWindow(m_window))
        DestroyWindow(m_window);
    if (m_font)
        DeleteObject(m_font);
}

bool Form1Window::createControls(HINSTANCE instance) {
    m_font = CreateFontA(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, systemText(kFontFace).c_str());
    if (!m_font)
        return false;
    SendMessageA(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    const auto controls = form::form1Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDescription& d = controls[i];
        HWND parent = d.parent ? control(d.parent) : m_window;
        const ControlClass c = controlClass(d);
        // A filter list's text is its filter, which is not a caption.
        const std::string text =
            d.kind == ControlKind::FilterComboBox ? std::string() : systemText(d.text);
        HWND child = parent
                         ? createChild(c.name, c.style, c.exStyle, text, d.left, d.top, d.width,
                                       d.height, parent, static_cast<int>(i) + 1, instance, m_font)
                         : nullptr;
        if (!child || !initialise(child, d, instance, m_font))
            return false;
        m_controls.push_back(child);
    }
    return true;
}

HWND Form1Window::control(std::string_view name) const {
    const auto controls = form::form1Controls();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (name == controls[i].name)
            return m_controls[i];
    }
    return nullptr;
}

int Form1Window::run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            PostMessageA(m_window, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace ordinalette::win32
