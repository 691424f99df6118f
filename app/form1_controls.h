#pragma once

#include "form/form_controls.h"
#include "platform/code_page.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace ordinalette::foldertree {
class TShellTreeView;
}

namespace ordinalette::app {

class TBitBtn;
class TFilterComboBox;
class TLabel;
class TListBox;
class TProgressBar;
class TRadioGroup;
class TSpinEdit;
class TStatusBar;

// The main window's Qt widgets as the controls its handlers see (form::FormControls).
class Form1Controls : public form::FormControls {
public:
    Form1Controls(QWidget* window, platform::CodePage codePage);

    // The controls, in their declared order; the window owns them all.
    foldertree::TShellTreeView* ShellTreeView1 = nullptr; // picks the folder to rename in
    TListBox* ListBox1 = nullptr;                         // the files of the folder, sorted
    TStatusBar* StatusBar1 = nullptr;                     // file count of the list
    QGroupBox* GroupBox1 = nullptr;                       // frame of the naming controls
    TSpinEdit* SpinEdit1 = nullptr;                       // folder characters taken into every name
    TLabel* Label1 = nullptr;                             // first line of SpinEdit1's caption
    TLabel* Label2 = nullptr;                             // second line of SpinEdit1's caption
    QLineEdit* Edit1 = nullptr;                           // separator text
    QCheckBox* CheckBox1 = nullptr;                       // separator on or off
    TSpinEdit* SpinEdit2 = nullptr;                       // fixed digit count
    TRadioGroup* RadioGroup1 = nullptr;                   // letter case of the extension
    TLabel* Label3 = nullptr;                             // example of the first new name
    TBitBtn* BitBtn1 = nullptr;                           // Start: renames the listed files
    TBitBtn* BitBtn2 = nullptr;                           // End: closes the window
    TFilterComboBox* FilterComboBox1 = nullptr;           // file-type filter of the list
    QGroupBox* GroupBox2 = nullptr;                       // frame of the two digit modes
    QRadioButton* RadioButton1 = nullptr;                 // automatic digit count
    QRadioButton* RadioButton2 = nullptr;                 // fixed digit count from SpinEdit2
    TProgressBar* ProgressBar1 = nullptr;                 // progress of a run

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

protected:
    // Finds the controls the window's layout made, by their names.
    void findControls();

private:
    QWidget* widget(form::Control control) const;
    TSpinEdit* spinEdit(form::Control control) const;
    QAbstractButton* checkable(form::Control control) const;

    QWidget* m_window;
    platform::CodePage m_codePage;
};

} // namespace ordinalette::app
