#include "engine/in_out_error.h"
#include "engine/listing.h"
#include "foldertree/win32/ole_session.h"
#include "foldertree/win32/win32_shell_namespace.h"
#include "form/error_text.h"
#include "platform/code_page.h"
#include "platform/text_services.h"
#include "testsupport/fault_injecting_file_system.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"
#include "win32/form1.h"
#include "win32/question_dialog.h"
#include "win32/system_text.h"

#include <algorithm>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ordinalette::win32 {
namespace {

using testsupport::FaultInjectingFileSystem;

std::string text(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::vector<std::string> listed(HWND list) {
    std::vector<std::string> names;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        char name[MAX_PATH] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
        names.emplace_back(name);
    }
    return names;
}

// The folder's entries, sorted by bytes; names and paths in the system's code page.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// What the dialogs that a timer finds open said: the platform's message boxes, closed with
// their OK button, and the questions of the window's own, answered with their second button.
struct SeenDialogs {
    std::string boxCaption;
    std::string boxMessage;
    std::string question;
};
SeenDialogs g_seen;

std::string staticTexts(HWND dialog) {
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") == 0)
            texts += text(child);
    }
    return texts;
}

void CALLBACK closeDialogs(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND box = FindWindowA("#32770", nullptr)) {
        g_seen.boxCaption = text(box);
        g_seen.boxMessage = staticTexts(box);
        SendMessageA(box, WM_COMMAND, IDOK, 0);
    } else if (HWND question = FindWindowA("OrdinaletteQuestion", nullptr)) {
        g_seen.question = staticTexts(question);
        SendMessageA(question, WM_COMMAND, MAKEWPARAM(kFirstQuestionButton + 1, BN_CLICKED), 0);
    }
}

// Closes the dialogs that open while it lives.
class DialogCloser {
public:
    DialogCloser() : m_timer(SetTimer(nullptr, 0, 20, closeDialogs)) { g_seen = {}; }
    ~DialogCloser() { KillTimer(nullptr, m_timer); }
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;

private:
    UINT_PTR m_timer;
};

// The program's window over a folder "写真" of three files, started in a folder of its own,
// which is where the settings file goes.
class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the tests run with the system code page 932";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        for (const char* name : {"b.JPG", "a.txt", "c.png"}) {
            HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            CloseHandle(file);
        }
        ASSERT_TRUE(SetCurrentDirectoryA(start.path().c_str()));
        form = Form1::create(GetModuleHandleA(nullptr), fileSystem, codePage, collator,
                             std::make_shared<foldertree::Win32ShellNamespace>(), journals.path());
        if (!form)
            GTEST_SKIP() << "Wine creates no window here: no display and no null graphics driver";
        form->show(SW_SHOWNORMAL);
    }
    HWND control(const char* name) { return form->window().control(name); }
    void selectFolder() { form->controls().setTreePath(folder); }
    // A key as the message loop gets it, for the focused control.
    void key(WPARAM virtualKey) {
        MSG message{GetFocus(), WM_KEYDOWN, virtualKey, 1, 0, {}};
        form->processMessage(message);
    }
    void command(HWND from, WORD code) {
        SendMessageA(GetParent(from), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(from), code),
                     reinterpret_cast<LPARAM>(from));
    }

    const foldertree::OleSession ole;
    const platform::CodePage codePage = platform::CodePage::system();
    const platform::TextCollator collator{codePage};
    testsupport::WorkingDirectoryGuard workingDirectory;
    testsupport::TempDir files, start, journals;
    const std::string folder = files.path() + "\\" + systemText("写真");
    FaultInjectingFileSystem fileSystem{platform::systemFileSystem()};
    std::unique_ptr<Form1> form;
};

TEST_F(Form1Test, SelectingAFolderAndChangingTheNamingControlsRefreshTheListAndTheExample) {
    // Start-up opened on the root of the desktop's drive.
    EXPECT_EQ(form->logic().FolderPath, "C:\\");
    selectFolder();
    EXPECT_EQ(listed(control("ListBox1")), (std::vector<std::string>{"a.txt", "b.JPG", "c.png"}));
    EXPECT_EQ(text(control("StatusBar1")), engine::countText(3));
    EXPECT_EQ(text(control("SpinEdit2")), "1");
    EXPECT_EQ(text(control("Label3")), systemText("写真1.txt"));

    SendMessageA(control("CheckBox1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(control("Edit1")));
    SetWindowTextA(control("Edit1"), "_");
    EXPECT_EQ(text(control("Label3")), systemText("写真_1.txt"));

    SendMessageA(control("FilterComboBox1"), CB_SETCURSEL, 3, 0); // "PNGファイル"
    command(control("FilterComboBox1"), CBN_SELCHANGE);
    EXPECT_EQ(listed(control("ListBox1")), std::vector<std::string>{"c.png"});
    EXPECT_EQ(text(control("Label3")), systemText("写真_1.png"));

    // A spin edit refuses letters with a beep, and its arrows step the text it holds.
    SendMessageA(control("SpinEdit1"), WM_CHAR, 'x', 0);
    EXPECT_EQ(text(control("SpinEdit1")), "4");
    SendMessageA(control("RadioButton2"), BM_CLICK, 0, 0);
    NMUPDOWN up{{GetWindow(control("SpinEdit2"), GW_CHILD), 0, UDN_DELTAPOS}, 0, 1};
    SendMessageA(control("SpinEdit2"), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&up));
    EXPECT_EQ(text(control("SpinEdit2")), "2");
    EXPECT_EQ(text(control("Label3")), systemText("写真_01.png"));

    // F3: the list of new names beside the current ones.
    key(VK_F3);
    HWND preview = FindWindowA("OrdinalettePreview", nullptr);
    ASSERT_TRUE(preview);
    EXPECT_EQ(
        listed(GetWindow(preview, GW_CHILD))[1].rfind("c.png\t" + systemText("写真_01.png"), 0),
        0u);
    DestroyWindow(preview);
}

TEST_F(Form1Test, EnterRenamesTheListedFilesWhileTheProgressBarFills) {
    selectFolder();
    ASSERT_EQ(GetFocus(), control("BitBtn1"));
    key(VK_RETURN);
    EXPECT_EQ(entries(folder),
              (std::vector<std::string>{systemText("写真1.txt"), systemText("写真2.jpg"),
                                        systemText("写真3.png")}));
    EXPECT_EQ(listed(control("ListBox1")).size(), 3u);
    // One step per file and pass.
    EXPECT_EQ(SendMessageA(control("ProgressBar1"), PBM_GETRANGE, FALSE, 0), 6);
    EXPECT_EQ(SendMessageA(control("ProgressBar1"), PBM_GETPOS, 0, 0), 6);
}

TEST_F(Form1Test, AFailedRunShowsTheErrorBoxAndRenamesNothing) {
    selectFolder();
    fileSystem.failCall(FaultInjectingFileSystem::Operation::ChangeDirectory, 1,
                        ERROR_ACCESS_DENIED);
    const DialogCloser closer;
    SendMessageA(control("BitBtn1"), BM_CLICK, 0, 0);
    EXPECT_EQ(g_seen.boxCaption, "Ordinalette");
    EXPECT_EQ(
        g_seen.boxMessage,
        systemText(form::errorBoxText(engine::EInOutError(ERROR_ACCESS_DENIED).what()).c_str()));
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"a.txt", "b.JPG", "c.png"}));
}

TEST_F(Form1Test, AFailedWriteOfTheSettingsAsksBeforeTheWindowClosesWithoutThem) {
    fileSystem.failCall(FaultInjectingFileSystem::Operation::OpenFileForWriting, 1,
                        ERROR_ACCESS_DENIED);
    {
        const DialogCloser closer;
        SendMessageA(control("BitBtn2"), BM_CLICK, 0, 0);
        EXPECT_EQ(g_seen.boxMessage.back(), '.');
        EXPECT_EQ(g_seen.question, systemText("設定を保存せずに終了しますか？"));
    }
    // Answered "いいえ": the window stays, and the next close writes the settings.
    ASSERT_TRUE(IsWindow(form->window().handle()));
    SendMessageA(control("BitBtn2"), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(form->window().handle()));
    EXPECT_TRUE(start.exists("Ordinlet.ini"));
}

TEST_F(Form1Test, TabWalksTheTabStopsAndEscapeClosesTheWindowWritingTheSettings) {
    std::vector<HWND> walked;
    for (int i = 0; i < 4; ++i) {
        key(VK_TAB);
        walked.push_back(GetFocus());
    }
    EXPECT_EQ(walked,
              (std::vector<HWND>{control("BitBtn2"), control("RadioButton1"),
                                 form->window().radioItem("RadioGroup1", 0), control("BitBtn1")}));
    // Enter and Escape stay in a spin edit.
    SetFocus(control("SpinEdit1"));
    key(VK_ESCAPE);
    EXPECT_TRUE(IsWindow(form->window().handle()));

    SetFocus(control("ListBox1"));
    key(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(form->window().handle()));
    EXPECT_EQ(start.readFile("Ordinlet.ini"),
              "FolderKetasu=4\r\nCharactor=\r\nAuto=True\r\nRenbanKetasu=\r\nKakuchoushi=0\r\n");
}

} // namespace
} // namespace ordinalette::win32
