#include "foldertree/win32/ole_session.h"
#include "foldertree/win32/win32_shell_namespace.h"
#include "platform/file_system.h"
#include "platform/state_directory.h"
#include "platform/text_services.h"
#include "win32/form1.h"

#include <memory>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    using namespace ordinalette;
    const foldertree::OleSession ole;
    const platform::CodePage codePage = platform::CodePage::system();
    const platform::TextCollator collator(codePage);
    const auto form = win32::Form1::create(
        instance, platform::systemFileSystem(), codePage, collator,
        std::make_shared<foldertree::Win32ShellNamespace>(), platform::runJournalDirectory());
    if (!form)
        return 1;
    form->show(show);
    form->startWatching();
    return form->run();
}
