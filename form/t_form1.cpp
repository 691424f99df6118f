#include "form/t_form1.h"

#include "engine/in_out_error.h"
#include "engine/listing.h"
#include "engine/name_preview.h"
#include "engine/naming.h"
#include "engine/rename_run.h"
#include "form/scoped_state.h"

#include <algorithm>
#include <utility>

namespace ordinalette::form {

TForm1::TForm1(FormControls& controls, platform::FileSystem& fileSystem,
               platform::CodePage codePage, const platform::TextCollator& collator,
               std::string journalDirectory)
    : m_controls(controls), m_fileSystem(fileSystem), m_codePage(std::move(codePage)),
      m_collator(collator), m_journalDirectory(std::move(journalDirectory)) {}

void TForm1::start() {
    // The tree selected its root while it was built, before anyone listened to it.
    runHandler(&TForm1::ShellTreeView1Change);
    runHandler(&TForm1::FormCreate);
}

void TForm1::controlChanged(Control control) {
    switch (control) {
    case Control::ShellTreeView1:
        runHandler(&TForm1::ShellTreeView1Change);
        return;
    case Control::FilterComboBox1:
        runHandler(&TForm1::FilterComboBox1Change);
        return;
    case Control::CheckBox1:
        runHandler(&TForm1::CheckBox1Click);
        return;
    case Control::Edit1:
        runHandler(&TForm1::Edit1Change);
        return;
    case Control::SpinEdit1:
        runHandler(&TForm1::SpinEdit1Change);
        return;
    case Control::SpinEdit2:
        runHandler(&TForm1::SpinEdit2Change);
        return;
    case Control::RadioButton1:
        runHandler(&TForm1::RadioButton1Click);
        return;
    case Control::RadioButton2:
        runHandler(&TForm1::RadioButton2Click);
        return;
    case Control::RadioGroup1:
        runHandler(&TForm1::RadioGroup1Click);
        return;
    case Control::BitBtn1:
        runJournaledHandler(&TForm1::BitBtn1Click);
        return;
    case Control::BitBtn2:
        runHandler(&TForm1::BitBtn2Click);
        return;
    case Control::ListBox1:
    case Control::StatusBar1:
    case Control::Label3:
        return; // no handler
    }
}

void TForm1::undoRequested() {
    runJournaledHandler(&TForm1::undoLastRun);
}

void TForm1::namePreviewRequested() {
    runHandler(&TForm1::showNamePreview);
}

bool TForm1::runHandler(Handler handler) {
    if (m_holdingHandlers) {
        holdHandler(handler);
        return true;
    }
    const bool ran = runHandlerNow(handler);
    if (m_handlerDepth == 0)
        runHeldHandlers();
    return ran;
}

void TForm1::holdHandler(Handler handler) {
    if (std::find(m_heldHandlers.begin(), m_heldHandlers.end(), handler) == m_heldHandlers.end())
        m_heldHandlers.push_back(handler);
}

void TForm1::runHeldHandlers() {
    while (!m_heldHandlers.empty()) {
        const Handler handler = m_heldHandlers.front();
        m_heldHandlers.erase(m_heldHandlers.begin());
        runHandlerNow(handler);
    }
}

bool TForm1::runHandlerNow(Handler handler) {
    std::exception_ptr error;
    {
        // The nesting depth of the handlers running at the moment, kept across an error.
        const ValueRollback depth(m_handlerDepth, m_handlerDepth + 1);
        try {
            (this->*handler)();
            rethrowNestedError();
            return true;
        } catch (const std::exception&) {
            if (m_handlerDepth > 1) {
                // A front end's change notification cannot carry an exception; the outer
                // handler rethrows it.
                if (!m_nestedError)
                    m_nestedError = std::current_exception();
                return false;
            }
            error = std::current_exception();
        }
    }
    // Shown outside the handler, so a handler that runs while the box is open is not nested.
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& shown) {
        m_controls.showError(shown.what());
    }
    return false;
}

void TForm1::changeControl(const std::function<void()>& change) {
    change();
    rethrowNestedError();
}

void TForm1::rethrowNestedError() {
    if (m_nestedError)
        std::rethrow_exception(std::exchange(m_nestedError, nullptr));
}

bool TForm1::closeRequested() {
    if (m_holdingHandlers) {
        // Closed during a run: the window closes, as End closes it, once the run is over.
        holdHandler(&TForm1::BitBtn2Click);
        return false;
    }
    // Closing is an operation of its own, whichever handler asked for it: the error box of a
    // failed write is shown at once, and the window closes only where the write succeeded or
    // the user gives up the settings.
    const ValueRollback depth(m_handlerDepth, 0);
    return runHandler(&TForm1::FormClose) || closesWithoutSaving();
}

bool TForm1::closesWithoutSaving() {
    return m_controls.ask(u"設定を保存せずに終了しますか？", MsgDlgType::Confirmation,
                          {{u"はい", kResultYes, true, false}, {u"いいえ", kResultNo, false, true}},
                          false) == kResultYes;
}

// The refresh chain and its steps.

void TForm1::ShellTreeView1Change() {
    FolderPath = m_controls.treePath();
    DisplayFileName();
    GetKetasu();
    resetSpinEdit2();
    GetFolderToFile();
    RenameExample();
}

void TForm1::DisplayFileName() {
    m_controls.setListItems({});
    m_controls.setListItems(
        engine::listFiles(m_fileSystem, FolderPath, m_controls.filterMask(), m_collator));
    const std::string count = engine::countText(m_controls.listItems().size()); // ASCII
    m_controls.setControlText(Control::StatusBar1, std::u16string(count.begin(), count.end()));
}

void TForm1::GetKetasu() {
    Ketasu = engine::digitCount(static_cast<std::int64_t>(m_controls.listItems().size()));
}

void TForm1::resetSpinEdit2() {
    m_controls.setControlMinValue(Control::SpinEdit2, Ketasu);
    changeControl([this] { m_controls.setControlValue(Control::SpinEdit2, Ketasu); });
}

void TForm1::GetFolderToFile() {
    NamePrefix = engine::namePrefix(FolderPath, m_controls.controlValue(Control::SpinEdit1),
                                    separatorBytes(), m_codePage);
}

int TForm1::digitWidth() const {
    return m_controls.controlChecked(Control::RadioButton2)
               ? m_controls.controlValue(Control::SpinEdit2)
               : Ketasu;
}

void TForm1::RenameExample() {
    m_controls.setProgressMax(0);
    m_controls.setControlText(Control::Label3, {});
    if (m_controls.listItems().empty())
        return;
    const std::string example = engine::renameExample(
        NamePrefix, digitWidth(), m_controls.listItems(),
        engine::extensionCaseFromIndex(m_controls.controlValue(Control::RadioGroup1)), m_codePage);
    m_controls.setControlText(Control::Label3, platform::decodeText(example, m_codePage));
}

// The handlers.

void TForm1::FilterComboBox1Change() {
    DisplayFileName();
    GetKetasu();
    resetSpinEdit2();
    GetFolderToFile();
    RenameExample();
}

void TForm1::enableField(Control field, bool enabled) {
    m_controls.enableControl(field, enabled);
    m_controls.colorControl(field,
                            enabled ? SystemColor::Window : SystemColor::InactiveCaptionText);
}

void TForm1::CheckBox1Click() {
    if (m_controls.controlChecked(Control::CheckBox1)) {
        enableField(Control::Edit1, true);
    } else {
        m_controls.enableControl(Control::Edit1, false);
        changeControl([this] { m_controls.setControlText(Control::Edit1, {}); });
        m_controls.colorControl(Control::Edit1, SystemColor::InactiveCaptionText);
    }
    GetFolderToFile();
    RenameExample();
}

void TForm1::Edit1Change() {
    GetFolderToFile();
    RenameExample();
}

void TForm1::SpinEdit1Change() {
    GetFolderToFile();
    RenameExample();
}

void TForm1::SpinEdit2Change() {
    RenameExample();
}

void TForm1::RadioButton1Click() {
    if (m_controls.controlChecked(Control::RadioButton1))
        enableField(Control::SpinEdit2, false);
    GetFolderToFile();
    RenameExample();
}

void TForm1::RadioButton2Click() {
    if (m_controls.controlChecked(Control::RadioButton2))
        enableField(Control::SpinEdit2, true);
    GetFolderToFile();
    RenameExample();
}

void TForm1::RadioGroup1Click() {
    RenameExample();
}

void TForm1::BitBtn2Click() {
    m_controls.closeWindow();
}

void TForm1::BitBtn1Click() {
    // The bar runs over both passes, one step per file and pass, so it moves evenly for any
    // count: the first pass fills its first half.
    const std::size_t count = m_controls.listItems().size();
    startProgress(2 * count);
    if (count == 0) {
        m_controls.showMessage(u"ファイルが存在しません", MsgDlgType::Error, {MsgDlgBtn::Ok});
        return;
    }
    // The run takes no input: the pointer says so until it ends or fails.
    const BusyWindow busy(m_controls);
    const engine::RenameRun run{
        .folderPath = FolderPath,
        .names = m_controls.listItems(),
        .namePrefix = NamePrefix,
        .width = [this] { return digitWidth(); },
        .extensionCase =
            engine::extensionCaseFromIndex(m_controls.controlValue(Control::RadioGroup1)),
        .fileParked = [this, count](std::size_t parked) { stepProgress(parked, 2 * count); },
        .fileRenamed = [this,
                        count](std::size_t renamed) { stepProgress(count + renamed, 2 * count); },
        .journalDirectory = m_journalDirectory,
    };
    rememberInterruptedRun([&] { engine::runRename(m_fileSystem, run, m_codePage); });
    DisplayFileName();
}

// The list gets copies of the names and is shown without waiting for it to close: the folder
// tree may refresh the file list meanwhile, and a handler run by that is not nested in this one.
void TForm1::showNamePreview() {
    std::vector<engine::PreviewedName> newNames = engine::previewNewNames(
        m_fileSystem, FolderPath, m_controls.listItems(), NamePrefix, digitWidth(),
        engine::extensionCaseFromIndex(m_controls.controlValue(Control::RadioGroup1)), m_codePage);
    m_controls.showNamePreview(NamePreviewRows(m_controls.listItems(), std::move(newNames)));
}

void TForm1::startProgress(std::size_t total) {
    m_controls.setProgressMin(0);
    m_controls.setProgressMax(static_cast<int>(total));
    m_controls.setProgressPosition(0);
    m_controls.setProgressStep(1);
    m_lastEvents.reset();
}

void TForm1::stepProgress(std::size_t placed, std::size_t total) {
    constexpr std::chrono::milliseconds kEventInterval(50);
    m_controls.stepProgress();
    const auto now = std::chrono::steady_clock::now();
    if (!m_lastEvents || now - *m_lastEvents >= kEventInterval || placed == total) {
        keepWindowResponsive();
        m_lastEvents = std::chrono::steady_clock::now();
    }
}

void TForm1::keepWindowResponsive() {
    // A run takes no input: keys and clicks wait for its end. A handler or a close that the
    // events processed meanwhile bring is held until the run is over.
    const ValueRollback holding(m_holdingHandlers, true);
    m_controls.processPaintEvents();
}

void TForm1::FormCreate() {
    changeControl([this] { m_controls.collapseTree(); });
    // The root of the volume that holds the desktop directory; selecting it lists it.
    changeControl(
        [this] { m_controls.setTreePath(m_controls.volumeRootOf(m_controls.treePath())); });
    const platform::Result<std::string> workingDirectory = m_fileSystem.currentDirectory();
    if (!workingDirectory.ok())
        throw engine::EInOutError(workingDirectory.error);
    IniDir = workingDirectory.value;
    DisplayFileName();
    GetKetasu();
    resetSpinEdit2();
    GetFolderToFile();
    LoadSettings();
}

void TForm1::FormClose() {
    SaveSettings();
}

} // namespace ordinalette::form
