#include "app/t_form1.h"

#include "app/busy_cursor.h"
#include "app/controls/system_color.h"
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/error_box.h"
#include "app/form_builder.h"
#include "app/form_keyboard.h"
#include "app/form_layout.h"
#include "app/images.h"
#include "app/message_dialog.h"
#include "app/name_preview_dialog.h"
#include "app/tree/t_shell_tree_view.h"
#include "engine/in_out_error.h"
#include "engine/listing.h"
#include "engine/name_preview.h"
#include "engine/naming.h"
#include "engine/rename_run.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QKeySequence>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace ordinalette::app {

namespace {

template <typename T> T* control(QWidget* form, const char* name) {
    auto* found = form->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        throw std::logic_error(std::string("the layout has no control ") + name);
    return found;
}

} // namespace

TForm1::TForm1(platform::FileSystem& fileSystem,
               const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace,
               std::string journalDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_fileSystem(fileSystem), m_codePage(platform::CodePage::system()), m_collator(m_codePage),
      m_journalDirectory(std::move(journalDirectory)) {
    setObjectName("Form1");
    // The style's metrics (expand buttons, scroll bars and their arrows, the combo box's arrow)
    // keep their pixel sizes at every screen density, as the stored geometry and the window's
    // pixel-sized font do.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    setWindowIcon(images::mainIcon());
    buildForm(this, form1Description(), form1Controls(), shellNamespace);
    findControls();
    m_keyboard = new FormKeyboard(tabChain(this, form1Controls()), BitBtn1, BitBtn2, this);
    bindHandlers();
    buildListMenu();
    bindUndo();
    // The tree selected its root while it was built, before the handlers were bound.
    runHandler(&TForm1::ShellTreeView1Change);
    runHandler(&TForm1::FormCreate);
}

TForm1::~TForm1() = default;

void TForm1::findControls() {
    ShellTreeView1 = control<foldertree::TShellTreeView>(this, "ShellTreeView1");
    ListBox1 = control<TListBox>(this, "ListBox1");
    StatusBar1 = control<TStatusBar>(this, "StatusBar1");
    GroupBox1 = control<QGroupBox>(this, "GroupBox1");
    SpinEdit1 = control<TSpinEdit>(this, "SpinEdit1");
    Label1 = control<TLabel>(this, "Label1");
    Label2 = control<TLabel>(this, "Label2");
    Edit1 = control<QLineEdit>(this, "Edit1");
    CheckBox1 = control<QCheckBox>(this, "CheckBox1");
    SpinEdit2 = control<TSpinEdit>(this, "SpinEdit2");
    RadioGroup1 = control<TRadioGroup>(this, "RadioGroup1");
    Label3 = control<TLabel>(this, "Label3");
    BitBtn1 = control<TBitBtn>(this, "BitBtn1");
    BitBtn2 = control<TBitBtn>(this, "BitBtn2");
    FilterComboBox1 = control<TFilterComboBox>(this, "FilterComboBox1");
    GroupBox2 = control<QGroupBox>(this, "GroupBox2");
    RadioButton1 = control<QRadioButton>(this, "RadioButton1");
    RadioButton2 = control<QRadioButton>(this, "RadioButton2");
    ProgressBar1 = control<TProgressBar>(this, "ProgressBar1");
}

void TForm1::bindHandlers() {
    // Changes made by the program report like the user's, so the handlers also run nested.
    const auto bind = [this](auto* sender, auto signal, Handler handler) {
        connect(sender, signal, this, [this, handler] { runHandler(handler); });
    };
    const auto bindChecked = [this](QAbstractButton* sender, Handler handler) {
        connect(sender, &QAbstractButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                runHandler(handler);
        });
    };
    bind(ShellTreeView1, &foldertree::TShellTreeView::OnChange, &TForm1::ShellTreeView1Change);
    connect(ShellTreeView1, &foldertree::TShellTreeView::errorRaised, this, &showException);
    bind(FilterComboBox1, &TFilterComboBox::OnChange, &TForm1::FilterComboBox1Change);
    bind(CheckBox1, &QCheckBox::toggled, &TForm1::CheckBox1Click);
    bind(Edit1, &QLineEdit::textChanged, &TForm1::Edit1Change);
    bind(SpinEdit1, &TSpinEdit::OnChange, &TForm1::SpinEdit1Change);
    bind(SpinEdit2, &TSpinEdit::OnChange, &TForm1::SpinEdit2Change);
    bindChecked(RadioButton1, &TForm1::RadioButton1Click);
    bindChecked(RadioButton2, &TForm1::RadioButton2Click);
    bind(RadioGroup1, &TRadioGroup::OnClick, &TForm1::RadioGroup1Click);
    connect(BitBtn1, &QAbstractButton::clicked, this,
            [this] { runJournaledHandler(&TForm1::BitBtn1Click); });
    bind(BitBtn2, &QAbstractButton::clicked, &TForm1::BitBtn2Click);
}

void TForm1::buildListMenu() {
    ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
    addListMenuEntry("新しい名前の一覧", QKeySequence(Qt::Key_F3), &TForm1::showNamePreview);
}

void TForm1::addListMenuEntry(const char* text, const QKeySequence& shortcut, Handler handler) {
    auto* entry = new QAction(QString::fromUtf8(text), ListBox1);
    entry->setShortcut(shortcut);
    connect(entry, &QAction::triggered, this, [this, handler] { runHandler(handler); });
    ListBox1->addAction(entry);
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
        const QScopedValueRollback depth(m_handlerDepth, m_handlerDepth + 1);
        try {
            (this->*handler)();
            rethrowNestedError();
            return true;
        } catch (const std::exception&) {
            if (m_handlerDepth > 1) {
                // Qt's signal code cannot carry an exception; the outer handler rethrows it.
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
        showException(shown);
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

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_holdingHandlers) {
        // Closed during a run: the window closes, as End closes it, once the run is over.
        holdHandler(&TForm1::BitBtn2Click);
        event->ignore();
        return;
    }
    // Closing is an operation of its own, whichever handler asked for it: the error box of a
    // failed write is shown at once, and the window closes only where the write succeeded or
    // the user gives up the settings.
    const QScopedValueRollback depth(m_handlerDepth, 0);
    event->setAccepted(runHandler(&TForm1::FormClose) || closesWithoutSaving());
}

bool TForm1::closesWithoutSaving() {
    return messageDlg(QString::fromUtf8("設定を保存せずに終了しますか？"), MsgDlgType::Confirmation,
                      {{QString::fromUtf8("はい"), kResultYes, true, false},
                       {QString::fromUtf8("いいえ"), kResultNo, false, true}}) == kResultYes;
}

bool TForm1::focusNextPrevChild(bool next) {
    return m_keyboard->focusNextTabStop(next);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!focusWidget())
        m_keyboard->focusNextTabStop(true);
    if (std::exchange(m_shownBefore, true))
        return;
    // Placed once its frame is known, before it is mapped.
    keepInsideScreen(this);
    // Interrupted runs are asked about once the window is on the screen.
    QTimer::singleShot(0, this, [this] { offerInterruptedRuns(); });
}

// The refresh chain and its steps.

void TForm1::ShellTreeView1Change() {
    FolderPath = ShellTreeView1->Path();
    DisplayFileName();
    GetKetasu();
    resetSpinEdit2();
    GetFolderToFile();
    RenameExample();
}

void TForm1::DisplayFileName() {
    ListBox1->clear();
    ListBox1->addAll(
        engine::listFiles(m_fileSystem, FolderPath, FilterComboBox1->selectedMask(), m_collator));
    StatusBar1->setSimpleText(
        QString::fromStdString(engine::countText(static_cast<std::size_t>(ListBox1->count()))));
}

void TForm1::GetKetasu() {
    Ketasu = engine::digitCount(ListBox1->count());
}

void TForm1::resetSpinEdit2() {
    SpinEdit2->SetMinValue(Ketasu);
    changeControl([this] { SpinEdit2->SetValue(Ketasu); });
}

void TForm1::GetFolderToFile() {
    NamePrefix = engine::namePrefix(FolderPath, SpinEdit1->Value(), separatorBytes(), m_codePage);
}

int TForm1::digitWidth() const {
    return RadioButton2->isChecked() ? SpinEdit2->Value() : Ketasu;
}

void TForm1::RenameExample() {
    ProgressBar1->setMax(0);
    Label3->setCaption({});
    if (ListBox1->count() == 0)
        return;
    const std::string example =
        engine::renameExample(NamePrefix, digitWidth(), ListBox1->items(),
                              engine::extensionCaseFromIndex(RadioGroup1->ItemIndex()), m_codePage);
    Label3->setCaption(QString::fromStdU16String(platform::decodeText(example, m_codePage)));
}

// The handlers.

void TForm1::FilterComboBox1Change() {
    DisplayFileName();
    GetKetasu();
    resetSpinEdit2();
    GetFolderToFile();
    RenameExample();
}

void TForm1::CheckBox1Click() {
    if (CheckBox1->isChecked()) {
        Edit1->setEnabled(true);
        setFieldColor(Edit1, SystemColor::Window);
    } else {
        Edit1->setEnabled(false);
        changeControl([this] { Edit1->setText({}); });
        setFieldColor(Edit1, SystemColor::InactiveCaptionText);
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
    if (RadioButton1->isChecked()) {
        SpinEdit2->setEnabled(false);
        setFieldColor(SpinEdit2, SystemColor::InactiveCaptionText);
    }
    GetFolderToFile();
    RenameExample();
}

void TForm1::RadioButton2Click() {
    if (RadioButton2->isChecked()) {
        SpinEdit2->setEnabled(true);
        setFieldColor(SpinEdit2, SystemColor::Window);
    }
    GetFolderToFile();
    RenameExample();
}

void TForm1::RadioGroup1Click() {
    RenameExample();
}

void TForm1::BitBtn2Click() {
    close();
}

void TForm1::BitBtn1Click() {
    // The bar runs over both passes, one step per file and pass, so it moves evenly for any
    // count: the first pass fills its first half.
    const int count = ListBox1->count();
    startProgress(2 * static_cast<std::size_t>(count));
    if (count == 0) {
        messageDlg(QString::fromUtf8("ファイルが存在しません"), MsgDlgType::Error, {MsgDlgBtn::Ok});
        return;
    }
    // The run takes no input: the pointer says so until it ends or fails.
    const BusyCursor busy;
    const engine::RenameRun run{
        .folderPath = FolderPath,
        .names = ListBox1->items(),
        .namePrefix = NamePrefix,
        .width = [this] { return digitWidth(); },
        .extensionCase = engine::extensionCaseFromIndex(RadioGroup1->ItemIndex()),
        .fileParked =
            [this, count](std::size_t parked) {
                stepProgress(parked, 2 * static_cast<std::size_t>(count));
            },
        .fileRenamed =
            [this, count](std::size_t renamed) {
                const auto files = static_cast<std::size_t>(count);
                stepProgress(files + renamed, 2 * files);
            },
        .journalDirectory = m_journalDirectory,
    };
    rememberInterruptedRun([&] { engine::runRename(m_fileSystem, run, m_codePage); });
    DisplayFileName();
}

// The dialog gets copies of the names and is shown without waiting for it to close: the folder
// tree may refresh the list meanwhile, and a handler run by that is not nested in this one.
void TForm1::showNamePreview() {
    std::vector<engine::PreviewedName> newNames = engine::previewNewNames(
        m_fileSystem, FolderPath, ListBox1->items(), NamePrefix, digitWidth(),
        engine::extensionCaseFromIndex(RadioGroup1->ItemIndex()), m_codePage);
    auto* dialog = new NamePreviewDialog(ListBox1->items(), std::move(newNames), m_codePage, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void TForm1::startProgress(std::size_t total) {
    ProgressBar1->setMin(0);
    ProgressBar1->setMax(static_cast<int>(total));
    ProgressBar1->setPosition(0);
    ProgressBar1->setStep(1);
    m_sinceEvents.invalidate();
}

void TForm1::stepProgress(std::size_t placed, std::size_t total) {
    constexpr qint64 kEventIntervalMs = 50;
    ProgressBar1->stepIt();
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventIntervalMs ||
        placed == total) {
        keepWindowResponsive();
        m_sinceEvents.start();
    }
}

void TForm1::keepWindowResponsive() {
    // A run takes no input: keys and clicks wait for its end, and so do timers and the folder
    // tree's descriptors. Painting goes on, and the windowing system's own messages are
    // answered, among them the desktop's ping, which would else call the program not
    // responding. A handler or a close that these events bring is held until the run is over.
    const QScopedValueRollback holding(m_holdingHandlers, true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

void TForm1::FormCreate() {
    changeControl([this] { ShellTreeView1->FullCollapse(); });
    // The root of the volume that holds the desktop directory; selecting it lists it.
    changeControl([this] {
        ShellTreeView1->SetPath(
            ShellTreeView1->shellNamespace().volumeRoot(ShellTreeView1->Path()));
    });
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

} // namespace ordinalette::app
