#include "app/error_box.h"
#include "app/platform_debug_log.h"
#include "app/qt_translation.h"
#include "app/t_form1.h"
#include "foldertree/posix/linux_shell_namespace.h"
#include "platform/file_system.h"
#include "platform/state_directory.h"
#include "platform/text_services.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[]) {
    // The window's geometry is in pixels and is not scaled on displays of another density.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ordinalette"));
    QTranslator qtJapanese;
    ordinalette::app::installQtJapanese(qtJapanese);
    ordinalette::app::routePlatformDebugLog();
    const auto codePage = ordinalette::platform::CodePage::system();
    const ordinalette::platform::TextCollator collator(codePage);
    ordinalette::app::TForm1 form(ordinalette::platform::systemFileSystem(), codePage, collator,
                                  ordinalette::foldertree::LinuxShellNamespace::forCurrentUser(),
                                  ordinalette::platform::runJournalDirectory());
    form.show();
    return application.exec();
}
