#pragma once

#include "form/t_form1.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/text_services.h"
#include "win32/form1_controls.h"
#include "win32/form1_window.h"
#include "win32/form_keyboard.h"
#include "win32/shell_tree_view.h"
#include "win32/shell_tree_watcher.h"

#include <memory>
#include <string>
#include <windows.h>

namespace ordinalette::win32 {

// The program's one window: the native window and its controls, the window logic over them,
// and the window's keys. Creating it runs the tree's first selection and FormCreate.
class Form1 {
public:
    // nullptr when Windows refuses the window. File operations go through fileSystem, names
    // are bytes of codePage compared by collator, the tree shows shellNamespace, the runs'
    // journals are kept in journalDirectory.
    static std::unique_ptr<Form1>
    create(HINSTANCE instance, platform::FileSystem& fileSystem, const platform::CodePage& codePage,
           const platform::TextCollator& collator,
           const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
           std::string journalDirectory);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    Form1Window& window() { return *m_window; }
    Form1Controls& controls() { return m_controls; }
    form::TForm1& logic() { return m_logic; }

    // Shows the window with the focus on Start, then asks about interrupted runs.
    void show(int showCommand);
    // One message of the loop: the window's keys, then the dialog manager (Tab and the arrow
    // keys), then the control it is for.
    void processMessage(MSG& message);
    // From now on the folder tree follows the folders and drives that change.
    void startWatching();
    // Runs the message loop until the window is closed; the exit code.
    int run();

private:
    Form1(std::unique_ptr<Form1Window> window, platform::FileSystem& fileSystem,
          const platform::CodePage& codePage, const platform::TextCollator& collator,
          const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
          std::string journalDirectory);

    std::unique_ptr<Form1Window> m_window;
    ShellTreeView m_tree; // builds and selects its root when it is made
    Form1Controls m_controls;
    form::TForm1 m_logic;
    FormKeyboard m_keyboard;
    std::unique_ptr<ShellTreeWatcher> m_watcher; // ends before the tree it keeps current
};

} // namespace ordinalette::win32
