#include "win32/form1_window.h"

#include "form/filter_string.h"
#include "form/form_layout.h"
#include "win32/shell_tree_view.h"
#include "win32/system_text.h"
#include "win32/window_class.h"

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

// Whether the Tab key stops on the control as the table creates it.
DWORD tabStopStyle(const ControlDescription& d) {
    const bool stops =
        d.tabStop == form::TabStop::Yes || (d.tabStop == form::TabStop::WhileChecked && d.checked);
    return stops ? WS_TABSTOP : 0;
}

ControlClass controlClass(const ControlDescription& d) {
    const DWORD tabStop = tabStopStyle(d);
    switch (d.kind) {
    case ControlKind::ShellTreeView:
        return {WC_TREEVIEWA, tabStop | TVS_HASBUTTONS | TVS_HASLINES, WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        // The names arrive in the file list's order, which the list keeps: the control's own
        // sorting would compare them by other rules.
        return {"LISTBOX", tabStop | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::StatusBar:
        // The table places it; the status bar does not move itself to the parent's bottom.
        return {STATUSCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN};
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup:
        // The dialog manager walks into the group for Tab and the arrow keys.
        return {"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
        // A label shows its text character for character, "&" included, on one line.
        return {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX};
    case ControlKind::RadioButton:
        return {"BUTTON", tabStop | BS_AUTORADIOBUTTON};
    case ControlKind::SpinEdit:
    case ControlKind::Edit:
        return {"EDIT", tabStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
        return {"BUTTON", tabStop | BS_AUTOCHECKBOX};
    case ControlKind::BitBtn:
        // Drawn by the window, with the glyph beside the caption.
        return {"BUTTON", tabStop | BS_OWNERDRAW};
    case ControlKind::FilterComboBox:
        return {"COMBOBOX", tabStop | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::ProgressBar:
        return {PROGRESS_CLASSA, 0};
    }
    return {"STATIC", 0};
}

// A group box keeps no notification of its children: it passes them on to the window, which
// handles them all.
LRESULT CALLBACK passToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    default:
        return DefSubclassProc(window, message, wParam, lParam);
    }
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
// table's place. They hold no value of their own: the edit's text is the value, and the edit
// steps it when they are pressed.
bool addUpDown(HWND edit, const ControlDescription& d, HINSTANCE instance) {
    RECT client;
    GetClientRect(edit, &client);
    HWND upDown =
        CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, client.right - kUpDownWidth, 0,
                        kUpDownWidth, client.bottom, edit, nullptr, instance, nullptr);
    if (!upDown)
        return false;
    // The text stops short of the arrows.
    SendMessageA(edit, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kUpDownWidth));
    // Without a buddy, so that they never write a number of their own into the text.
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
        const bool checked = static_cast<int>(i) == d.itemIndex;
        HWND item = createChild("BUTTON",
                                BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0) |
                                    (checked && d.tabStop != form::TabStop::No ? WS_TABSTOP : 0),
                                0, systemText(items[i].c_str()), 8,
                                kRadioGroupCaption + static_cast<int>(i) * rowHeight, d.width - 16,
                                rowHeight, group, static_cast<int>(i) + 1, instance, font);
        if (!item)
            return false;
        if (checked)
            SendMessageA(item, BM_SETCHECK, BST_CHECKED, 0);
    }
    return true;
}

// The texts of a filter list's entries, the first one selected.
bool addFilterEntries(HWND combo, const std::vector<form::FilterEntry>& entries) {
    for (const form::FilterEntry& entry : entries) {
        if (SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str())) < 0)
            return false;
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return true;
}

// What a control holds before any handler runs, beyond its text.
bool initialise(HWND control, const ControlDescription& d, HINSTANCE instance, HFONT font,
                const std::vector<form::FilterEntry>& filterEntries) {
    if (d.checked)
        SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    if (!d.enabled)
        EnableWindow(control, FALSE);
    switch (d.kind) {
    case ControlKind::SpinEdit:
        return addUpDown(control, d, instance);
    case ControlKind::GroupBox:
        return SetWindowSubclass(control, passToWindow, 0, 0);
    case ControlKind::RadioGroup:
        return SetWindowSubclass(control, passToWindow, 0, 0) &&
               addRadioItems(control, d, instance, font);
    case ControlKind::FilterComboBox:
        return addFilterEntries(control, filterEntries);
    case ControlKind::ProgressBar:
        SendMessageA(control, PBM_SETRANGE32, d.minValue, d.maxValue);
        SendMessageA(control, PBM_SETSTEP, d.step, 0);
        return true;
    default:
        return true;
    }
}

} // namespace

std::unique_ptr<Form1Window> Form1Window::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    if (!InitCommonControlsEx(&common) ||
        !registerWindowClass(instance, kWindowClass, windowProcedure))
        return nullptr;
    const form::FormDescription& f = form::form1Description();
    RECT frame{0, 0, f.clientWidth, f.clientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    std::unique_ptr<Form1Window> window(new Form1Window);
    window->m_window =
        CreateWindowExA(0, kWindowClass, systemText(f.caption).c_str(), kWindowStyle, f.left, f.top,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                        instance, window.get());
    if (!window->m_window || !window->createControls(instance))
        return nullptr;
    window->orderByTabOrder();
    return window;
}

LRESULT CALLBACK Form1Window::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || !self->m_window)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // The folder tree's notifications go to its view, also while the view is being made.
    if (message == WM_NOTIFY &&
        ShellTreeView::dispatchNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
        return result;
    if (m_handler && m_handler(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_NEXTDLGCTL: {
        // The dialog manager moves the focus for Tab and the arrow keys through this message,
        // which only a dialog's own procedure knows.
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(m_window, GetFocus(), wParam != 0);
        if (next)
            SetFocus(next);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(m_window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
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
        if (d.kind == ControlKind::FilterComboBox)
            m_filterEntries =
                form::parseFilterString(systemText(d.text), platform::CodePage::system());
        HWND parent = d.parent ? control(d.parent) : m_window;
        const ControlClass c = controlClass(d);
        // A filter list's text is its filter, which is not a caption.
        const std::string text =
            d.kind == ControlKind::FilterComboBox ? std::string() : systemText(d.text);
        HWND child = parent
                         ? createChild(c.name, c.style, c.exStyle, text, d.left, d.top, d.width,
                                       d.height, parent, static_cast<int>(i) + 1, instance, m_font)
                         : nullptr;
        if (!child || !initialise(child, d, instance, m_font, m_filterEntries))
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

HWND Form1Window::radioItem(std::string_view group, int index) const {
    HWND parent = control(group);
    return parent && index >= 0 ? GetDlgItem(parent, index + 1) : nullptr;
}

// The dialog manager walks the children of one parent in their z-order: it is the tab order.
void Form1Window::orderByTabOrder() {
    for (const form::TabPlace& place : form::tabChain(form::form1Controls())) {
        if (place.item >= 0)
            continue; // the items of a radio group keep the order they were made in
        if (HWND child = control(place.control->name))
            SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

} // namespace ordinalette::win32
