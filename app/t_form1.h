#pragma once

#include "engine/journal_review.h"
#include "engine/run_recovery.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/text_services.h"

#include <QElapsedTimer>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QKeySequence;
class QLineEdit;
class QRadioButton;

namespace ordinalette::foldertree {
class ShellNamespace;
class TShellTreeView;
} // namespace ordinalette::foldertree

namespace ordinalette::app {

class FormKeyboard;
class TBitBtn;
class TFilterComboBox;
class TLabel;
class TListBox;
class TProgressBar;
class TRadioGroup;
class TSpinEdit;
class TStatusBar;

// The main window: the controls of its stored layout and the handlers that tie them to the
// renaming engine. Handlers read their controls and call the engine with plain values.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Builds the window from its stored layout, lets the folder tree report its first
    // selection, then runs FormCreate. File operations go through fileSystem, the tree shows
    // shellNamespace, the journals of the runs are kept in journalDirectory.
    TForm1(platform::FileSystem& fileSystem,
           const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
           std::string journalDirectory, QWidget* parent = nullptr);
    ~TForm1() override;

    // The controls, in their declared order; the window owns them all.
    foldertree::TShellTreeView* ShellTreeView1; // folder tree: picks the folder to rename in
    TListBox* ListBox1;                         // the files of the folder, sorted
    TStatusBar* StatusBar1;                     // file count of the list
    QGroupBox* GroupBox1;                       // frame of the naming controls
    TSpinEdit* SpinEdit1;                       // folder characters taken into every name
    TLabel* Label1;                             // first line of SpinEdit1's caption
    TLabel* Label2;                             // second line of SpinEdit1's caption
    QLineEdit* Edit1;                           // separator text
    QCheckBox* CheckBox1;                       // separator on or off
    TSpinEdit* SpinEdit2;                       // fixed digit count
    TRadioGroup* RadioGroup1;                   // letter case of the extension
    TLabel* Label3;                             // example of the first new name
    TBitBtn* BitBtn1;                           // Start: renames the listed files
    TBitBtn* BitBtn2;                           // End: closes the window
    TFilterComboBox* FilterComboBox1;           // file-type filter of the list
    QGroupBox* GroupBox2;                       // frame of the two digit modes
    QRadioButton* RadioButton1;                 // automatic digit count
    QRadioButton* RadioButton2;                 // fixed digit count from SpinEdit2
    TProgressBar* ProgressBar1;                 // progress of a run

    // State shared by the handlers of this window (byte strings in the system code page).
    std::string FolderPath;  // full path of the selected folder, as the tree gives it
    std::int32_t Ketasu = 0; // the automatic digit count of the listed files
    std::string NamePrefix;  // folder characters and separator shared by every new name
    std::string IniDir;      // the working directory when the window was created; empty
                             // when it could not be read

    void ShellTreeView1Change();
    void DisplayFileName();
    void GetKetasu();
    void GetFolderToFile();
    void RenameExample();
    void FilterComboBox1Change();
    void Edit1Change();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void BitBtn2Click();
    void BitBtn1Click();
    void RadioGroup1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void CheckBox1Click();
    void FormCreate();
    void FormClose();
    // Applies the settings file of IniDir to the naming controls, key by key with fallbacks.
    void LoadSettings();
    // Replaces the settings file of IniDir with the values of the naming controls; writes
    // nothing while IniDir is unknown.
    void SaveSettings();

protected:
    // Runs FormClose; where it fails, the window closes only if the user gives up the settings.
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;

private:
    using Handler = void (TForm1::*)();

    void findControls();
    void bindHandlers();
    // The file list's context menu, one entry per line; each entry's key works anywhere in the
    // window.
    void buildListMenu();
    void addListMenuEntry(const char* text, const QKeySequence& shortcut, Handler handler);
    // Shows the new name of every listed file as a run with the current settings would give it.
    void showNamePreview();
    // Ctrl+Z and the file list's context menu entry "元に戻す".
    void bindUndo();
    // Runs a handler; an error leaving the outermost one is shown by the error box, one leaving
    // a nested handler ends the handlers it is nested in as well. False after an error. A
    // handler that the events processed during a run bring is held and runs, as an outermost
    // one, once the outermost handler running now has ended.
    bool runHandler(Handler handler);
    bool runHandlerNow(Handler handler);
    void holdHandler(Handler handler);
    void runHeldHandlers();
    // Asks, after a failed write of the settings, whether to close the window all the same.
    bool closesWithoutSaving();
    // Makes a change of a control whose handler runs nested, then raises the error that ended
    // that handler, so that it ends the changing handler too. Every programmatic change of a
    // control with a handler goes through here.
    void changeControl(const std::function<void()>& change);
    void rethrowNestedError();
    void resetSpinEdit2();
    // Sets a control from a stored value; any error of the setting, nested handlers included,
    // leads to the fallback instead.
    void applyOrFallBack(const std::function<void()>& apply, const std::function<void()>& fallBack);
    int digitWidth() const;
    // The bytes of Edit1's text in the code page; the separator of the settings file keeps its
    // own bytes while it is shown unchanged, also bytes that show as no character.
    std::string separatorBytes() const;
    // The progress bar of a run: from 0 to total in steps of one. A few times a second the
    // window is painted and answers the desktop, taking no input meanwhile.
    void startProgress(std::size_t total);
    void stepProgress(std::size_t placed, std::size_t total);
    void keepWindowResponsive();
    engine::ProgressCallback progressReporter();

    // Runs a handler that may leave a run interrupted, then asks what to do with that run once
    // the handler's error box has closed.
    void runJournaledHandler(Handler handler);
    // Runs work; a run it leaves interrupted is remembered for the question (the error goes on).
    void rememberInterruptedRun(const std::function<void()>& work);
    // Asks whether to finish or undo the remembered interrupted run, and does it.
    void askAboutInterruptedRun();
    // Tells what became of the journals that cannot be offered, then asks about every
    // interrupted run of the journals, one at a time, at start-up.
    void offerInterruptedRuns();
    // Tells one thing about the journals that cannot be offered.
    void showJournalNotice(const engine::JournalNotice& notice);
    // Undoes the selected folder's last run after asking.
    void undoLastRun();
    // Names the files that finishing or undoing left alone.
    void showLeftAlone(const engine::RecoveryReport& report);

    platform::FileSystem& m_fileSystem;
    platform::CodePage m_codePage;
    platform::TextCollator m_collator;
    std::string m_journalDirectory;
    std::optional<engine::InterruptedRun> m_interruptedRun;
    std::string m_loadedSeparator; // the separator as the settings file holds it
    QElapsedTimer m_sinceEvents;
    // While the events of a run are processed; the handlers they bring are held meanwhile.
    bool m_holdingHandlers = false;
    std::vector<Handler> m_heldHandlers;
    bool m_shownBefore = false;
    FormKeyboard* m_keyboard = nullptr;
    int m_handlerDepth = 0;
    std::exception_ptr m_nestedError;
};

} // namespace ordinalette::app
