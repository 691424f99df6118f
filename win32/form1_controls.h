#pragma once

#include "form/form_controls.h"
#include "form/progress_range.h"
#include "platform/code_page.h"
#include "platform/text_services.h"
#include "win32/spin_edit.h"

#include <map>
#include <optional>
#include <windows.h>

namespace ordinalette::form {
class TForm1;
}

namespace ordinalette::win32 {

class Form1Window;
class ShellTreeView;

// The main window's native controls as the controls its handlers see (form::FormControls).
// It hears every notification of the window's controls and runs the window logic's handler of
// the control that changed; a change the program makes reports in the same way, before the
// change returns. Names and paths are bytes of the system's code page.
class Form1Controls : public form::FormControls {
public:
    Form1Controls(Form1Window& window, ShellTreeView& tree, platform::CodePage codePage,
                  const platform::TextCollator& collator);
    Form1Controls(const Form1Controls&) = delete;
    Form1Controls& operator=(const Form1Controls&) = delete;

    // From now on the controls' changes run form's handlers.
    void attach(form::TForm1& form);

    std::u16string controlText(form::Control control) const override;
    void setControlText(form::Control control, std::u16string_view text) override;
    std::int32_t controlValue(form::Control control) const override;
    void setControlValue(form::Control control, std::int32_t value) override;
    void setControlMinValue(form::Control control, std::int32_t value) override;
    bool controlChecked(form::Control control) const override;
    void setControlChecked(form::Control control, bool checked) override;
    void enableControl(form::Control control, bool enabled) override;
    void colorControl(form::Control control, form::SystemColor color) override;
    const std::vector<std::string>& listItems() const override;
    void setListItems(std::vector<std::string> names) override;
    std::string filterMask() override;
    std::string treePath() const override;
    void setTreePath(const std::string& path) override;
    void collapseTree() override;
    std::string volumeRootOf(const std::string& path) const override;
    std::vector<std::string> shownFolders() const override;
    void setProgressMin(int value) override;
    void setProgressMax(int value) override;
    void setProgressPosition(int value) override;
    void setProgressStep(int value) override;
    void stepProgress() override;
    int showMessage(std::u16string_view message, form::MsgDlgType type,
                    std::initializer_list<form::MsgDlgBtn> buttons) override;
    int ask(std::u16string_view message, form::MsgDlgType type,
            const std::vector<form::DialogButton>& buttons, bool applicationCaption) override;
    void showError(const std::string& message) override;
    void showNamePreview(form::NamePreviewRows rows) override;
    void closeWindow() override;
    void setBusy(bool busy) override;
    void processPaintEvents() override;

private:
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool handleCommand(HWND from, UINT code);
    void report(form::Control control);
    HWND window(form::Control control) const;
    SpinEdit& spinEdit(form::Control control) const;
    // A radio button of a set became checked, by a click or by the program: the others of its
    // set are cleared, the Tab key stops on it alone, and its handler runs, unless it was
    // checked already.
    void radioChecked(form::Control control);
    void radioGroupItemChecked(int index);
    void updateRadioTabStops();
    std::string windowText(form::Control control) const;
    void fitLabel(HWND label);
    void showProgress();

    Form1Window& m_window;
    ShellTreeView& m_tree;
    platform::CodePage m_codePage;
    const platform::TextCollator& m_collator;
    form::TForm1* m_form = nullptr;
    mutable SpinEdit m_spinEdit1;
    mutable SpinEdit m_spinEdit2;
    std::optional<form::Control> m_checkedDigitMode; // RadioButton1 or RadioButton2
    int m_itemIndex;                                 // RadioGroup1's checked item
    std::vector<std::string> m_items;                // ListBox1's names
    std::map<HWND, form::SystemColor> m_colors;      // the input fields' backgrounds
    form::ProgressRange m_progress;
    bool m_busy = false;
    HWND m_lastFocus = nullptr;
};

} // namespace ordinalette::win32
