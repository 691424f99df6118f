#include "win32/form1_controls.h"

#include "form/control_error.h"
#include "form/filter_string.h"
#include "form/form_layout.h"
#include "form/message_caption.h"
#include "form/t_form1.h"
#include "platform/list_order.h"
#include "win32/bit_btn.h"
#include "win32/form1_window.h"
#include "win32/message_boxes.h"
#include "win32/name_preview_window.h"
#include "win32/question_dialog.h"
#include "win32/shell_tree_view.h"
#include "win32/system_text.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace ordinalette::win32 {

namespace {

using form::Control;

constexpr int kRadioGroupItems = 3;
constexpr char kCannotInsert[] = "行を挿入できません";
// How many paint messages one call paints at most, so that a window that never finishes
// painting cannot hold a run.
constexpr int kPaintsPerCall = 64;

const char* controlName(Control control) {
    switch (control) {
    case Control::ShellTreeView1:
        return "ShellTreeView1";
    case Control::ListBox1:
        return "ListBox1";
    case Control::StatusBar1:
        return "StatusBar1";
    case Control::SpinEdit1:
        return "SpinEdit1";
    case Control::Edit1:
        return "Edit1";
    case Control::CheckBox1:
        return "CheckBox1";
    case Control::SpinEdit2:
        return "SpinEdit2";
    case Control::RadioGroup1:
        return "RadioGroup1";
    case Control::Label3:
        return "Label3";
    case Control::BitBtn1:
        return "BitBtn1";
    case Control::BitBtn2:
        return "BitBtn2";
    case Control::FilterComboBox1:
        return "FilterComboBox1";
    case Control::RadioButton1:
        return "RadioButton1";
    case Control::RadioButton2:
        return "RadioButton2";
    }
    return "";
}

[[noreturn]] void noSuchUse(const char* what) {
    throw std::logic_error(std::string("the control has no ") + what);
}

const form::ControlDescription& description(const char* name) {
    for (const form::ControlDescription& d : form::form1Controls()) {
        if (std::string_view(d.name) == name)
            return d;
    }
    throw std::logic_error(std::string("the layout has no control ") + name);
}

SpinEdit spinEditOf(const Form1Window& window, const char* name) {
    const form::ControlDescription& d = description(name);
    return SpinEdit(window.control(name), d.minValue, d.maxValue);
}

bool isChecked(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(HWND button, bool checked) {
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void setTabStop(HWND control, bool tabStop) {
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    SetWindowLongPtrA(control, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

int systemColorIndex(form::SystemColor color) {
    return color == form::SystemColor::Window ? COLOR_WINDOW : COLOR_INACTIVECAPTIONTEXT;
}

} // namespace

Form1Controls::Form1Controls(Form1Window& window, ShellTreeView& tree, platform::CodePage codePage,
                             const platform::TextCollator& collator)
    : m_window(window), m_tree(tree), m_codePage(std::move(codePage)), m_collator(collator),
      m_spinEdit1(spinEditOf(window, "SpinEdit1")), m_spinEdit2(spinEditOf(window, "SpinEdit2")),
      m_itemIndex(description("RadioGroup1").itemIndex) {
    for (const form::ControlDescription& d : form::form1Controls()) {
        if (d.color)
            m_colors[window.control(d.name)] = *d.color;
    }
    if (isChecked(this->window(Control::RadioButton1)))
        m_checkedDigitMode = Control::RadioButton1;
    else if (isChecked(this->window(Control::RadioButton2)))
        m_checkedDigitMode = Control::RadioButton2;
    m_tree.setOnChange([this] { report(Control::ShellTreeView1); });
    m_tree.setOnError([this](const std::string& message) { showError(message); });
    m_window.setMessageHandler([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return handleMessage(message, wParam, lParam, result);
    });
}

void Form1Controls::attach(form::TForm1& form) {
    m_form = &form;
}

void Form1Controls::report(Control control) {
    if (m_form)
        m_form->controlChanged(control);
}

HWND Form1Controls::window(Control control) const {
    return m_window.control(controlName(control));
}

SpinEdit& Form1Controls::spinEdit(Control control) const {
    if (control == Control::SpinEdit1)
        return m_spinEdit1;
    if (control == Control::SpinEdit2)
        return m_spinEdit2;
    noSuchUse("value");
}

bool Form1Controls::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        return handleCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const bool start = item.hwndItem == window(Control::BitBtn1);
        if (!start && item.hwndItem != window(Control::BitBtn2))
            return false;
        // Enter presses the focused button, else Start: that button has the thick frame.
        const HWND focus = GetFocus();
        const bool buttonFocused =
            focus == window(Control::BitBtn1) || focus == window(Control::BitBtn2);
        drawBitBtn(item, start ? BitBtnGlyph::Ok : BitBtnGlyph::Cancel,
                   buttonFocused ? focus == item.hwndItem : start);
        result = TRUE;
        return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        const auto found = m_colors.find(reinterpret_cast<HWND>(lParam));
        if (found == m_colors.end())
            return false;
        const int index = systemColorIndex(found->second);
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(index));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(index));
        return true;
    }
    case WM_CLOSE:
        if (!m_form || m_form->closeRequested())
            DestroyWindow(m_window.handle());
        return true;
    case WM_SETCURSOR:
        if (!m_busy)
            return false;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        result = TRUE;
        return true;
    case WM_ACTIVATE:
        // The window keeps the control that had the focus, as a dialog does.
        if (LOWORD(wParam) == WA_INACTIVE && IsChild(m_window.handle(), GetFocus()))
            m_lastFocus = GetFocus();
        return false;
    case WM_SETFOCUS:
        SetFocus(m_lastFocus && IsWindow(m_lastFocus) ? m_lastFocus : window(Control::BitBtn1));
        return true;
    default:
        return false;
    }
}

bool Form1Controls::handleCommand(HWND from, UINT code) {
    if (!from)
        return false;
    if (code == EN_CHANGE) {
        for (Control edit : {Control::Edit1, Control::SpinEdit1, Control::SpinEdit2}) {
            if (from == window(edit))
                report(edit);
        }
        return true;
    }
    if (code == CBN_SELCHANGE && from == window(Control::FilterComboBox1)) {
        report(Control::FilterComboBox1);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    for (Control button : {Control::CheckBox1, Control::BitBtn1, Control::BitBtn2}) {
        if (from == window(button))
            report(button);
    }
    for (Control radio : {Control::RadioButton1, Control::RadioButton2}) {
        if (from == window(radio) && isChecked(from))
            radioChecked(radio);
    }
    for (int i = 0; i < kRadioGroupItems; ++i) {
        if (from == m_window.radioItem("RadioGroup1", i) && isChecked(from))
            radioGroupItemChecked(i);
    }
    return true;
}

void Form1Controls::radioChecked(Control control) {
    if (m_checkedDigitMode == control)
        return;
    m_checkedDigitMode = control;
    for (Control radio : {Control::RadioButton1, Control::RadioButton2})
        setChecked(window(radio), radio == control);
    updateRadioTabStops();
    report(control);
}

void Form1Controls::radioGroupItemChecked(int index) {
    if (m_itemIndex == index)
        return;
    m_itemIndex = index;
    for (int i = 0; i < kRadioGroupItems; ++i)
        setChecked(m_window.radioItem("RadioGroup1", i), i == index);
    updateRadioTabStops();
    report(Control::RadioGroup1);
}

void Form1Controls::updateRadioTabStops() {
    for (Control radio : {Control::RadioButton1, Control::RadioButton2})
        setTabStop(window(radio), m_checkedDigitMode == radio);
    for (int i = 0; i < kRadioGroupItems; ++i)
        setTabStop(m_window.radioItem("RadioGroup1", i), i == m_itemIndex);
}

std::string Form1Controls::windowText(Control control) const {
    HWND w = window(control);
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(w)) + 1);
    const int length = GetWindowTextA(w, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::u16string Form1Controls::controlText(Control control) const {
    switch (control) {
    case Control::Edit1:
    case Control::StatusBar1:
    case Control::Label3:
        return fromSystemText(windowText(control));
    default:
        noSuchUse("text");
    }
}

void Form1Controls::setControlText(Control control, std::u16string_view text) {
    switch (control) {
    case Control::Edit1:
    case Control::StatusBar1:
    case Control::Label3: {
        // Setting the text a control has already reports nothing.
        const std::string bytes = systemText(text);
        if (bytes == windowText(control))
            return;
        SetWindowTextA(window(control), bytes.c_str());
        if (control == Control::Label3)
            fitLabel(window(control));
        return;
    }
    default:
        noSuchUse("text");
    }
}

// A label is as wide as its text on one line; the group box cuts off what does not fit.
void Form1Controls::fitLabel(HWND label) {
    const std::string text = windowText(Control::Label3);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, m_window.font());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    const form::ControlDescription& d = description("Label3");
    SetWindowPos(label, nullptr, 0, 0, std::max(static_cast<int>(size.cx), d.width), d.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int32_t Form1Controls::controlValue(Control control) const {
    if (control == Control::RadioGroup1)
        return m_itemIndex;
    return spinEdit(control).value();
}

void Form1Controls::setControlValue(Control control, std::int32_t value) {
    if (control != Control::RadioGroup1) {
        spinEdit(control).setValue(value);
        return;
    }
    const int index = std::clamp(value, -1, kRadioGroupItems - 1);
    if (index == m_itemIndex)
        return;
    if (index < 0) {
        m_itemIndex = index;
        for (int i = 0; i < kRadioGroupItems; ++i)
            setChecked(m_window.radioItem("RadioGroup1", i), false);
        updateRadioTabStops();
        report(Control::RadioGroup1);
        return;
    }
    radioGroupItemChecked(index);
}

void Form1Controls::setControlMinValue(Control control, std::int32_t value) {
    spinEdit(control).setMinValue(value);
}

bool Form1Controls::controlChecked(Control control) const {
    switch (control) {
    case Control::CheckBox1:
    case Control::RadioButton1:
    case Control::RadioButton2:
        return isChecked(window(control));
    default:
        noSuchUse("check mark");
    }
}

void Form1Controls::setControlChecked(Control control, bool checked) {
    if (controlChecked(control) == checked)
        return;
    if (control == Control::CheckBox1) {
        setChecked(window(control), checked);
        report(control);
    } else if (checked) {
        radioChecked(control);
    } else {
        // Clearing a radio button reports nothing; its set then has none checked.
        setChecked(window(control), false);
        m_checkedDigitMode.reset();
        updateRadioTabStops();
    }
}

void Form1Controls::enableControl(Control control, bool enabled) {
    EnableWindow(window(control), enabled);
}

void Form1Controls::colorControl(Control control, form::SystemColor color) {
    m_colors[window(control)] = color;
    InvalidateRect(window(control), nullptr, TRUE);
}

const std::vector<std::string>& Form1Controls::listItems() const {
    return m_items;
}

void Form1Controls::setListItems(std::vector<std::string> names) {
    HWND list = window(Control::ListBox1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    m_items.clear();
    // A listing arrives in the list's order already; then checking is all the work there is.
    const auto outOfOrder = [this](const std::string& a, const std::string& b) {
        return platform::compareInListOrder(a, b, m_collator) > 0;
    };
    if (std::adjacent_find(names.begin(), names.end(), outOfOrder) != names.end())
        platform::sortInListOrder(names, m_collator);
    std::size_t bytes = 0;
    for (const std::string& name : names)
        bytes += name.size() + 1;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, names.size(), bytes);
    for (const std::string& name : names) {
        const LRESULT added = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(name.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) {
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            throw form::EControlError(kCannotInsert);
        }
        m_items.push_back(name);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::string Form1Controls::filterMask() {
    HWND combo = window(Control::FilterComboBox1);
    const auto& entries = m_window.filterEntries();
    const int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    const int entry = form::entryOfMask(selected, entries.size());
    if (entry < 0)
        return form::kAllFilesMask;
    if (entry != selected)
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0); // quietly
    return entries[static_cast<std::size_t>(entry)].mask;
}

std::string Form1Controls::treePath() const {
    return m_tree.selectedPath();
}

void Form1Controls::setTreePath(const std::string& path) {
    m_tree.selectPath(path);
}

void Form1Controls::collapseTree() {
    m_tree.collapseAll();
}

std::string Form1Controls::volumeRootOf(const std::string& path) const {
    return m_tree.volumeRootOf(path);
}

std::vector<std::string> Form1Controls::shownFolders() const {
    return m_tree.shownFolders();
}

void Form1Controls::showProgress() {
    HWND bar = m_window.control("ProgressBar1");
    SendMessageA(bar, PBM_SETRANGE32, m_progress.min(), m_progress.max());
    SendMessageA(bar, PBM_SETSTEP, m_progress.step(), 0);
    SendMessageA(bar, PBM_SETPOS, m_progress.position(), 0);
}

void Form1Controls::setProgressMin(int value) {
    m_progress.setMin(value);
    showProgress();
}

void Form1Controls::setProgressMax(int value) {
    m_progress.setMax(value);
    showProgress();
}

void Form1Controls::setProgressPosition(int value) {
    m_progress.setPosition(value);
    showProgress();
}

void Form1Controls::setProgressStep(int value) {
    m_progress.setStep(value);
    showProgress();
}

void Form1Controls::stepProgress() {
    m_progress.stepIt();
    showProgress();
}

int Form1Controls::showMessage(std::u16string_view message, form::MsgDlgType type,
                               std::initializer_list<form::MsgDlgBtn> buttons) {
    return showMessageBox(m_window.handle(), message, type, buttons);
}

int Form1Controls::ask(std::u16string_view message, form::MsgDlgType type,
                       const std::vector<form::DialogButton>& buttons, bool applicationCaption) {
    const char* caption = applicationCaption ? nullptr : form::messageCaption(type);
    return askQuestion(m_window.handle(), m_window.font(), message, type, buttons,
                       systemText(caption ? caption : kApplicationTitle));
}

void Form1Controls::showError(const std::string& message) {
    showErrorBox(m_window.handle(), message);
}

void Form1Controls::showNamePreview(form::NamePreviewRows rows) {
    showNamePreviewWindow(m_window.handle(), m_window.font(), rows);
}

void Form1Controls::closeWindow() {
    SendMessageA(m_window.handle(), WM_CLOSE, 0, 0);
}

void Form1Controls::setBusy(bool busy) {
    m_busy = busy;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

void Form1Controls::processPaintEvents() {
    // Keys and clicks wait for the end of the run. Painting goes on, and the messages other
    // threads send, the folder tree's watcher among them, are answered while looking.
    MSG message;
    for (int i = 0;
         i < kPaintsPerCall && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageA(&message);
}

} // namespace ordinalette::win32
