#include "app/form1_controls.h"

#include "app/controls/field_color.h"
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/error_box.h"
#include "app/message_dialog.h"
#include "app/name_preview_dialog.h"
#include "app/tree/t_shell_tree_view.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <stdexcept>
#include <string>
#include <utility>

namespace ordinalette::app {

namespace {

template <typename T> T* control(QWidget* form, const char* name) {
    auto* found = form->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        throw std::logic_error(std::string("the layout has no control ") + name);
    return found;
}

QString qText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

[[noreturn]] void noSuchUse(const char* what) {
    throw std::logic_error(std::string("the control has no ") + what);
}

} // namespace

Form1Controls::Form1Controls(QWidget* window, platform::CodePage codePage)
    : m_window(window), m_codePage(std::move(codePage)) {}

void Form1Controls::findControls() {
    ShellTreeView1 = control<foldertree::TShellTreeView>(m_window, "ShellTreeView1");
    ListBox1 = control<TListBox>(m_window, "ListBox1");
    StatusBar1 = control<TStatusBar>(m_window, "StatusBar1");
    GroupBox1 = control<QGroupBox>(m_window, "GroupBox1");
    SpinEdit1 = control<TSpinEdit>(m_window, "SpinEdit1");
    Label1 = control<TLabel>(m_window, "Label1");
    Label2 = control<TLabel>(m_window, "Label2");
    Edit1 = control<QLineEdit>(m_window, "Edit1");
    CheckBox1 = control<QCheckBox>(m_window, "CheckBox1");
    SpinEdit2 = control<TSpinEdit>(m_window, "SpinEdit2");
    RadioGroup1 = control<TRadioGroup>(m_window, "RadioGroup1");
    Label3 = control<TLabel>(m_window, "Label3");
    BitBtn1 = control<TBitBtn>(m_window, "BitBtn1");
    BitBtn2 = control<TBitBtn>(m_window, "BitBtn2");
    FilterComboBox1 = control<TFilterComboBox>(m_window, "FilterComboBox1");
    GroupBox2 = control<QGroupBox>(m_window, "GroupBox2");
    RadioButton1 = control<QRadioButton>(m_window, "RadioButton1");
    RadioButton2 = control<QRadioButton>(m_window, "RadioButton2");
    ProgressBar1 = control<TProgressBar>(m_window, "ProgressBar1");
}

QWidget* Form1Controls::widget(form::Control control) const {
    switch (control) {
    case form::Control::ShellTreeView1:
        return ShellTreeView1;
    case form::Control::ListBox1:
        return ListBox1;
    case form::Control::StatusBar1:
        return StatusBar1;
    case form::Control::SpinEdit1:
        return SpinEdit1;
    case form::Control::Edit1:
        return Edit1;
    case form::Control::CheckBox1:
        return CheckBox1;
    case form::Control::SpinEdit2:
        return SpinEdit2;
    case form::Control::RadioGroup1:
        return RadioGroup1;
    case form::Control::Label3:
        return Label3;
    case form::Control::BitBtn1:
        return BitBtn1;
    case form::Control::BitBtn2:
        return BitBtn2;
    case form::Control::FilterComboBox1:
        return FilterComboBox1;
    case form::Control::RadioButton1:
        return RadioButton1;
    case form::Control::RadioButton2:
        return RadioButton2;
    }
    noSuchUse("widget");
}

TSpinEdit* Form1Controls::spinEdit(form::Control control) const {
    auto* spin = qobject_cast<TSpinEdit*>(widget(control));
    if (!spin)
        noSuchUse("value");
    return spin;
}

QAbstractButton* Form1Controls::checkable(form::Control control) const {
    auto* button = qobject_cast<QAbstractButton*>(widget(control));
    if (!button || !button->isCheckable())
        noSuchUse("check mark");
    return button;
}

std::u16string Form1Controls::controlText(form::Control control) const {
    switch (control) {
    case form::Control::Edit1:
        return Edit1->text().toStdU16String();
    case form::Control::StatusBar1:
        return StatusBar1->simpleText().toStdU16String();
    case form::Control::Label3:
        return Label3->caption().toStdU16String();
    default:
        noSuchUse("text");
    }
}

void Form1Controls::setControlText(form::Control control, std::u16string_view text) {
    switch (control) {
    case form::Control::Edit1:
        Edit1->setText(qText(text));
        return;
    case form::Control::StatusBar1:
        StatusBar1->setSimpleText(qText(text));
        return;
    case form::Control::Label3:
        Label3->setCaption(qText(text));
        return;
    default:
        noSuchUse("text");
    }
}

std::int32_t Form1Controls::controlValue(form::Control control) const {
    if (control == form::Control::RadioGroup1)
        return RadioGroup1->ItemIndex();
    return spinEdit(control)->Value();
}

void Form1Controls::setControlValue(form::Control control, std::int32_t value) {
    if (control == form::Control::RadioGroup1)
        RadioGroup1->SetItemIndex(value);
    else
        spinEdit(control)->SetValue(value);
}

void Form1Controls::setControlMinValue(form::Control control, std::int32_t value) {
    spinEdit(control)->SetMinValue(value);
}

bool Form1Controls::controlChecked(form::Control control) const {
    return checkable(control)->isChecked();
}

void Form1Controls::setControlChecked(form::Control control, bool checked) {
    checkable(control)->setChecked(checked);
}

void Form1Controls::enableControl(form::Control control, bool enabled) {
    widget(control)->setEnabled(enabled);
}

void Form1Controls::colorControl(form::Control control, form::SystemColor color) {
    setFieldColor(widget(control), color);
}

const std::vector<std::string>& Form1Controls::listItems() const {
    return ListBox1->items();
}

void Form1Controls::setListItems(std::vector<std::string> names) {
    ListBox1->clear();
    if (!names.empty())
        ListBox1->addAll(std::move(names));
}

std::string Form1Controls::filterMask() {
    return FilterComboBox1->selectedMask();
}

std::string Form1Controls::treePath() const {
    return ShellTreeView1->Path();
}

void Form1Controls::setTreePath(const std::string& path) {
    ShellTreeView1->SetPath(path);
}

void Form1Controls::collapseTree() {
    ShellTreeView1->FullCollapse();
}

std::string Form1Controls::volumeRootOf(const std::string& path) const {
    return ShellTreeView1->shellNamespace().volumeRoot(path);
}

std::vector<std::string> Form1Controls::shownFolders() const {
    return ShellTreeView1->visibleFolders();
}

void Form1Controls::setProgressMin(int value) {
    ProgressBar1->setMin(value);
}

void Form1Controls::setProgressMax(int value) {
    ProgressBar1->setMax(value);
}

void Form1Controls::setProgressPosition(int value) {
    ProgressBar1->setPosition(value);
}

void Form1Controls::setProgressStep(int value) {
    ProgressBar1->setStep(value);
}

void Form1Controls::stepProgress() {
    ProgressBar1->stepIt();
}

int Form1Controls::showMessage(std::u16string_view message, form::MsgDlgType type,
                               std::initializer_list<form::MsgDlgBtn> buttons) {
    return messageDlg(qText(message), type, buttons);
}

int Form1Controls::ask(std::u16string_view message, form::MsgDlgType type,
                       const std::vector<form::DialogButton>& buttons, bool applicationCaption) {
    return messageDlg(qText(message), type, buttons,
                      applicationCaption ? QCoreApplication::applicationName() : QString());
}

void Form1Controls::showError(const std::string& message) {
    showErrorBox(QString::fromStdString(message));
}

// The dialog is shown without waiting for it to close and closes itself.
void Form1Controls::showNamePreview(form::NamePreviewRows rows) {
    auto* dialog = new NamePreviewDialog(std::move(rows), m_codePage, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void Form1Controls::closeWindow() {
    m_window->close();
}

void Form1Controls::setBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Form1Controls::processPaintEvents() {
    // Keys and clicks wait for the end of the run, and so do timers and the folder tree's
    // descriptors. Painting goes on, and the windowing system's own messages are answered,
    // among them the desktop's ping, which would else call the program not responding.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

} // namespace ordinalette::app
