#include "form/form_layout.h"
#include "platform/code_page.h"
#include "platform/text_services.h"
#include "win32/form1_window.h"

#include <gtest/gtest.h>
#include <string>

namespace ordinalette::win32 {
namespace {

using form::ControlKind;

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string cp932(const char* utf8) {
    return platform::encodeText(platform::decodeText(utf8, platform::CodePage::utf8()),
                                platform::CodePage::cp932());
}

const char* expectedClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::ShellTreeView:
        return "SysTreeView32";
    case ControlKind::ListBox:
        return "ListBox";
    case ControlKind::StatusBar:
        return "msctls_statusbar32";
    case ControlKind::SpinEdit:
    case ControlKind::Edit:
        return "Edit";
    case ControlKind::FilterComboBox:
        return "ComboBox";
    case ControlKind::ProgressBar:
        return "msctls_progress32";
    case ControlKind::Label:
        return "Static";
    default:
        return "Button";
    }
}

// The window's rectangle in its parent's client coordinates.
RECT rectInParent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(Form1Window, CreatesEveryControlOfTheTableAtItsPlaceWithItsTextInTheSystemCodePage) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run with the system code page 932";
    // Without a display driver (no X server, no null driver in the prefix) Wine creates no
    // top-level window at all.
    HWND probe =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe)
        GTEST_SKIP() << "Wine creates no window here: no display and no null graphics driver";
    DestroyWindow(probe);
    const auto window = Form1Window::create(GetModuleHandleA(nullptr));
    ASSERT_TRUE(window);

    const form::FormDescription& f = form::form1Description();
    RECT client;
    GetClientRect(window->handle(), &client);
    EXPECT_EQ(client.right, f.clientWidth);
    EXPECT_EQ(client.bottom, f.clientHeight);
    EXPECT_FALSE(GetWindowLongA(window->handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(windowText(window->handle()), cp932(f.caption));

    for (const form::ControlDescription& d : form::form1Controls()) {
        SCOPED_TRACE(d.name);
        HWND control = window->control(d.name);
        ASSERT_TRUE(control);
        EXPECT_EQ(className(control), expectedClass(d.kind));
        EXPECT_EQ(GetParent(control), d.parent ? window->control(d.parent) : window->handle());
        const RECT r = rectInParent(control);
        EXPECT_EQ(r.left, d.left);
        EXPECT_EQ(r.top, d.top);
        EXPECT_EQ(r.right - r.left, d.width);
        // A drop-down list is as high as its font makes its selection field, and its text is
        // the selected entry rather than the table's filter string.
        if (d.kind != ControlKind::FilterComboBox) {
            EXPECT_EQ(r.bottom - r.top, d.height);
            EXPECT_EQ(windowText(control), cp932(d.text));
        }
        EXPECT_EQ(IsWindowEnabled(control) != 0, d.enabled);
    }
    char first[64] = {};
    SendMessageA(window->control("FilterComboBox1"), CB_GETLBTEXT, 0,
                 reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::string(first), cp932("すべてのファイル (*.*)"));
    EXPECT_EQ(SendMessageA(window->control("ListBox1"), LB_GETCOUNT, 0, 0), 0);

    SendMessageA(window->handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window->handle()));
}

} // namespace
} // namespace ordinalette::win32
