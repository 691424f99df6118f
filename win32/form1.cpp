#include "win32/form1.h"

#include <utility>

namespace ordinalette::win32 {

std::unique_ptr<Form1>
Form1::create(HINSTANCE instance, platform::FileSystem& fileSystem,
              const platform::CodePage& codePage, const platform::TextCollator& collator,
              const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
              std::string journalDirectory) {
    std::unique_ptr<Form1Window> window = Form1Window::create(instance);
    if (!window)
        return nullptr;
    std::unique_ptr<Form1> form(new Form1(std::move(window), fileSystem, codePage, collator,
                                          shellNamespace, std::move(journalDirectory)));
    form->m_controls.attach(form->m_logic);
    form->m_logic.start();
    return form;
}

Form1::Form1(std::unique_ptr<Form1Window> window, platform::FileSystem& fileSystem,
             const platform::CodePage& codePage, const platform::TextCollator& collator,
             const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
             std::string journalDirectory)
    : m_window(std::move(window)), m_tree(m_window->control("ShellTreeView1"), shellNamespace),
      m_controls(*m_window, m_tree, codePage, collator),
      m_logic(m_controls, fileSystem, codePage, collator, std::move(journalDirectory)),
      m_keyboard(*m_window, m_logic) {}

void Form1::show(int showCommand) {
    ShowWindow(m_window->handle(), showCommand);
    SetFocus(m_window->control("BitBtn1"));
    UpdateWindow(m_window->handle());
    m_logic.offerInterruptedRuns();
}

void Form1::processMessage(MSG& message) {
    if (m_keyboard.handle(message) || IsDialogMessageA(m_window->handle(), &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void Form1::startWatching() {
    m_watcher = std::make_unique<ShellTreeWatcher>(m_tree);
}

int Form1::run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        processMessage(message);
    return 0;
}

} // namespace ordinalette::win32
