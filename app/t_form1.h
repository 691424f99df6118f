#pragma once

#include "app/form1_controls.h"
#include "form/t_form1.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/text_services.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QKeySequence;

namespace ordinalette::foldertree {
class ShellNamespace;
} // namespace ordinalette::foldertree

namespace ordinalette::app {

class FormKeyboard;

// The main window in Qt: the widgets of the stored layout (Form1Controls) and the window's
// logic over them (form::TForm1), whose handlers the widgets' changes run.
class TForm1 : public QWidget, public Form1Controls, public form::TForm1 {
    Q_OBJECT
public:
    // Builds the window from its stored layout, then starts the logic: the folder tree's first
    // selection, then FormCreate. File operations go through fileSystem, names are bytes of
    // codePage compared by collator, the tree shows shellNamespace, the journals of the runs
    // are kept in journalDirectory.
    TForm1(platform::FileSystem& fileSystem, const platform::CodePage& codePage,
           const platform::TextCollator& collator,
           const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
           std::string journalDirectory, QWidget* parent = nullptr);
    ~TForm1() override;

protected:
    // Runs FormClose; where it fails, the window closes only if the user gives up the settings.
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;

private:
    void bindHandlers();
    // The file list's context menu, one entry per line; each entry's key works anywhere in the
    // window.
    void buildListMenu();
    void addListMenuEntry(const char* text, const QKeySequence& shortcut,
                          const std::function<void()>& action);

    bool m_shownBefore = false;
    FormKeyboard* m_keyboard = nullptr;
};

} // namespace ordinalette::app
