// Drives a Windows program from outside, for the tests of the installed and the shown program:
//   program_driver run <program> [argument]
//       runs a program and waits until it and every process it started have ended (an
//       uninstaller hands its work to a copy of itself); exits with the program's exit code.
//   program_driver close <program> <folder>
//       starts the program in the folder, waits for its window, presses Escape and waits for
//       the program to end; exits with its exit code.
//   program_driver layout <program> <folder> <report file>
//       as close, but first writes the window's rectangle on the screen ("left top width
//       height") to the report file, followed by a line for each control whose place or size
//       differs from the layout table; then waits until a file of the report's name followed by
//       ".done" exists (the screenshot is taken meanwhile), and after the program has ended
//       writes its exit code to the report's name followed by ".end".
// It is a windows program without a console, so that it shows no window of its own on a
// display; messages go to stderr where Wine's starter gives it one. 1 is returned for a failure.
#include "form/form_layout.h"

#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using ordinalette::form::ControlDescription;
using ordinalette::form::ControlKind;

constexpr char kWindowClass[] = "TForm1";
constexpr DWORD kPollMilliseconds = 20;

int fail(const char* what) {
    std::fprintf(stderr, "program_driver: %s (error %lu)\n", what, GetLastError());
    return 1;
}

// A started program: its process, its first thread and its job, closed with it.
struct Started {
    PROCESS_INFORMATION process{};
    HANDLE job = nullptr;

    Started() = default;
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started() {
        for (HANDLE handle : {process.hThread, process.hProcess, job}) {
            if (handle)
                CloseHandle(handle);
        }
    }
};

// Starts the command line suspended inside a job of its own, so that the processes it starts
// can be waited for too.
bool start(std::string commandLine, const char* folder, Started& started) {
    started.job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!started.job ||
        !CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder, &startup, &started.process))
        return false;
    AssignProcessToJobObject(started.job, started.process.hProcess);
    ResumeThread(started.process.hThread);
    return true;
}

DWORD exitCode(const Started& started) {
    WaitForSingleObject(started.process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(started.process.hProcess, &code);
    return code;
}

// Waits until no process of the job is left.
void waitForJob(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    while (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info,
                                     nullptr) &&
           info.ActiveProcesses > 0)
        Sleep(kPollMilliseconds);
}

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    char name[32] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    GetClassNameA(window, name, sizeof name);
    if (processId == search->processId && std::string(name) == kWindowClass &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The program's main window once it is shown; nullptr when the program ends before.
HWND waitForWindow(const Started& started) {
    WaitForInputIdle(started.process.hProcess, INFINITE);
    WindowSearch search{started.process.dwProcessId};
    while (!search.found) {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found &&
            WaitForSingleObject(started.process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0)
            return nullptr;
    }
    return search.found;
}

// Presses Escape on the control that has the focus in the window's thread, as the keyboard
// would: the program's message loop sees the key first.
void pressEscape(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : window;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

RECT rectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A line for every control of the table whose window is missing or lies elsewhere; the window
// gives each control its row in the table, counted from 1, as its identifier.
std::string layoutDifferences(HWND window) {
    const auto controls = ordinalette::form::form1Controls();
    std::vector<HWND> windows;
    std::string differences;
    char line[160];
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDescription& d = controls[i];
        HWND parent = window;
        for (std::size_t p = 0; d.parent && p < i; ++p) {
            if (std::string(controls[p].name) == d.parent)
                parent = windows[p];
        }
        HWND control = parent ? GetDlgItem(parent, static_cast<int>(i) + 1) : nullptr;
        windows.push_back(control);
        if (!control) {
            differences += std::string(d.name) + ": no window\n";
            continue;
        }
        const RECT r = rectInParent(control);
        // A drop-down list is as high as its font makes its selection field.
        const bool heightMatches =
            d.kind == ControlKind::FilterComboBox || r.bottom - r.top == d.height;
        if (r.left != d.left || r.top != d.top || r.right - r.left != d.width || !heightMatches) {
            std::snprintf(line, sizeof line, "%s: at %ld,%ld %ldx%ld instead of %d,%d %dx%d\n",
                          d.name, r.left, r.top, r.right - r.left, r.bottom - r.top, d.left, d.top,
                          d.width, d.height);
            differences += line;
        }
    }
    return differences;
}

// Writes a whole file at once: the reader waits for its name to appear.
bool writeFile(const std::string& path, const std::string& text) {
    const std::string partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fputs(text.c_str(), file) >= 0;
    return std::fclose(file) == 0 && written && MoveFileA(partial.c_str(), path.c_str());
}

// Reports the window's rectangle on the screen and the layout's differences, then waits for the
// file that says the screenshot is taken.
bool reportAndWait(HWND window, const std::string& report) {
    // The window and its controls paint themselves before the screenshot.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    GetWindowRect(window, &r);
    const std::string rectangle = std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                                  std::to_string(r.right - r.left) + " " +
                                  std::to_string(r.bottom - r.top) + "\n";
    if (!writeFile(report, rectangle + layoutDifferences(window)))
        return false;
    const std::string done = report + ".done";
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(kPollMilliseconds);
    return true;
}

std::string quoted(const char* text) {
    return std::string("\"") + text + "\"";
}

int run(const char* program, const char* argument) {
    std::string commandLine = quoted(program);
    if (argument)
        commandLine += std::string(" ") + argument;
    Started started;
    if (!start(commandLine, nullptr, started))
        return fail("cannot start the program");
    const DWORD code = exitCode(started);
    waitForJob(started.job);
    return static_cast<int>(code);
}

int closeWithEscape(const char* program, const char* folder, const char* report) {
    Started started;
    if (!start(quoted(program), folder, started))
        return fail("cannot start the program");
    HWND window = waitForWindow(started);
    if (!window)
        return fail("the program ended without showing its window");
    if (report && !reportAndWait(window, report))
        return fail("cannot write the report");
    pressEscape(window);
    const DWORD code = exitCode(started);
    if (report && !writeFile(std::string(report) + ".end", std::to_string(code) + "\n"))
        return fail("cannot write the exit code");
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run" && (argc == 3 || argc == 4))
        return run(argv[2], argc == 4 ? argv[3] : nullptr);
    if (command == "close" && argc == 4)
        return closeWithEscape(argv[2], argv[3], nullptr);
    if (command == "layout" && argc == 5)
        return closeWithEscape(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: program_driver run|close|layout ...\n");
    return 2;
}
