#include "foldertree/win32/ole_session.h"
#include "platform/file_system.h"
#include "platform/state_directory.h"
#include "platform/text_services.h"
#include "win32/form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    using namespace ordinalette;
    const foldertree::OleSession ole;
    const platform::CodePage codePage = platform::CodePage::system();
    const platform::TextCollator collator(codePage);
    const auto form = win32::Form1::create(instance, platform::systemFileSystem(), codePage,
                                           collator, platform::runJournalDirectory());
    if (!form)
        return 1;
    form->show(show);
    return form->run();
}
