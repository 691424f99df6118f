#pragma once

#include "engine/journal_review.h"
#include "engine/run_recovery.h"
#include "form/form_controls.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/text_services.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::form {

// The main window's state and handlers over the interface of its controls: the refresh chain,
// the settings, the runs and the questions about their journals. Handlers read their controls
// and call the engine with plain values; file names and paths are bytes of the code page.
class TForm1 {
public:
    // File operations go through fileSystem, names are compared by collator, the journals of
    // the runs are kept in journalDirectory. Nothing runs before start().
    TForm1(FormControls& controls, platform::FileSystem& fileSystem, platform::CodePage codePage,
           const platform::TextCollator& collator, std::string journalDirectory);
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // State shared by the handlers of this window (byte strings in the code page).
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

    // What the front end reports. Once its controls are built: the tree's first selection,
    // then FormCreate.
    void start();
    // A control changed, by the user or the program (a radio button only when it became
    // checked), or a button was pressed: its handler runs.
    void controlChanged(Control control);
    // Ctrl+Z or the file list's "元に戻す": the selected folder's last run is undone after asking.
    void undoRequested();
    // F3 or the file list's "新しい名前の一覧".
    void namePreviewRequested();
    // Once the window is on the screen, for the first time: the interrupted runs are asked
    // about.
    void offerInterruptedRuns();
    // Whether the window may close: FormClose ran, or the user gave up the settings. Asked
    // during a run, the window closes once the run is over.
    bool closeRequested();

private:
    using Handler = void (TForm1::*)();

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
    // Enables or disables an input field, with the colour that says so.
    void enableField(Control field, bool enabled);
    // The progress bar of a run: from 0 to total in steps of one. A few times a second the
    // window is painted and answers the desktop, taking no input meanwhile.
    void startProgress(std::size_t total);
    void stepProgress(std::size_t placed, std::size_t total);
    void keepWindowResponsive();
    engine::ProgressCallback progressReporter();
    void showNamePreview();

    // Runs a handler that may leave a run interrupted, then asks what to do with that run once
    // the handler's error box has closed.
    void runJournaledHandler(Handler handler);
    // Runs work; a run it leaves interrupted is remembered for the question (the error goes on).
    void rememberInterruptedRun(const std::function<void()>& work);
    // Asks whether to finish or undo the remembered interrupted run, and does it.
    void askAboutInterruptedRun();
    // Tells one thing about the journals that cannot be offered.
    void showJournalNotice(const engine::JournalNotice& notice);
    // Undoes the selected folder's last run after asking.
    void undoLastRun();
    // Names the files that finishing or undoing left alone.
    void showLeftAlone(const engine::RecoveryReport& report);

    FormControls& m_controls;
    platform::FileSystem& m_fileSystem;
    platform::CodePage m_codePage;
    const platform::TextCollator& m_collator;
    std::string m_journalDirectory;
    std::optional<engine::InterruptedRun> m_interruptedRun;
    std::string m_loadedSeparator; // the separator as the settings file holds it
    std::optional<std::chrono::steady_clock::time_point> m_lastEvents;
    // While the events of a run are processed; the handlers they bring are held meanwhile.
    bool m_holdingHandlers = false;
    std::vector<Handler> m_heldHandlers;
    int m_handlerDepth = 0;
    std::exception_ptr m_nestedError;
};

} // namespace ordinalette::form
