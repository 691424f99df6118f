#pragma once

#include "form/dialog_question.h"
#include "form/name_preview_rows.h"
#include "form/system_color.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::form {

// The controls of the main window that its handlers read or change.
enum class Control {
    ShellTreeView1,
    ListBox1,
    StatusBar1,
    SpinEdit1,
    Edit1,
    CheckBox1,
    SpinEdit2,
    RadioGroup1,
    Label3,
    BitBtn1,
    BitBtn2,
    FilterComboBox1,
    RadioButton1,
    RadioButton2,
};

// The main window's controls as its handlers see them; each front end implements it over its
// own widgets. A change the program makes reports like the user's: the front end tells
// TForm1::controlChanged before the change returns, so that the control's handler runs nested.
// Texts are UTF-16, names and paths bytes of the code page.
class FormControls {
public:
    virtual ~FormControls() = default;

    // Edit1's text, the status bar's and Label3's caption.
    virtual std::u16string controlText(Control control) const = 0;
    virtual void setControlText(Control control, std::u16string_view text) = 0;
    // The spin edits' values (form/spin_edit_value.h), RadioGroup1's item index.
    virtual std::int32_t controlValue(Control control) const = 0;
    virtual void setControlValue(Control control, std::int32_t value) = 0;
    // A spin edit's minimum: a plain store that neither changes the text nor reports.
    virtual void setControlMinValue(Control control, std::int32_t value) = 0;
    // CheckBox1 and the radio buttons.
    virtual bool controlChecked(Control control) const = 0;
    virtual void setControlChecked(Control control, bool checked) = 0;
    virtual void enableControl(Control control, bool enabled) = 0;
    virtual void colorControl(Control control, SystemColor color) = 0;

    // ListBox1's names, in the file list's order.
    virtual const std::vector<std::string>& listItems() const = 0;
    virtual void setListItems(std::vector<std::string> names) = 0;
    // The mask of FilterComboBox1's selected entry (form/filter_string.h).
    virtual std::string filterMask() = 0;

    // The folder tree: the path of the selected folder (empty for items without one), selecting
    // a path, collapsing every folder, and the root of the volume that holds a path.
    virtual std::string treePath() const = 0;
    virtual void setTreePath(const std::string& path) = 0;
    virtual void collapseTree() = 0;
    virtual std::string volumeRootOf(const std::string& path) const = 0;
    // The folders of the visible part of the tree.
    virtual std::vector<std::string> shownFolders() const = 0;

    // ProgressBar1 (form/progress_range.h).
    virtual void setProgressMin(int value) = 0;
    virtual void setProgressMax(int value) = 0;
    virtual void setProgressPosition(int value) = 0;
    virtual void setProgressStep(int value) = 0;
    virtual void stepProgress() = 0;

    // The message dialog with standard buttons, or with buttons and a caption of its own (the
    // kind's caption when empty); the result of the button that closed it.
    virtual int showMessage(std::u16string_view message, MsgDlgType type,
                            std::initializer_list<MsgDlgBtn> buttons) = 0;
    virtual int ask(std::u16string_view message, MsgDlgType type,
                    const std::vector<DialogButton>& buttons, bool applicationCaption) = 0;
    // The error box of an error that left a handler (UTF-8, form/error_text.h adds the dot).
    virtual void showError(const std::string& message) = 0;
    // Shows the new-name list without waiting for it to close.
    virtual void showNamePreview(NamePreviewRows rows) = 0;

    // Closes the window, which asks TForm1::closeRequested first.
    virtual void closeWindow() = 0;
    // While busy the pointer says that the window takes no input.
    virtual void setBusy(bool busy) = 0;
    // Paints the window and answers the windowing system during a run, taking no input.
    virtual void processPaintEvents() = 0;
};

} // namespace ordinalette::form
