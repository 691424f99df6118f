#pragma once

#include "form/form_controls.h"
#include "form/progress_range.h"
#include "form/spin_edit_value.h"
#include "form/t_form1.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::form::testing {

// The window's controls without any toolkit, for the tests of its logic: each keeps its value
// as a widget would and reports a change to the form as a widget's signal does.
class HeadlessControls : public FormControls {
public:
    explicit HeadlessControls(std::string treePath) : m_treePath(std::move(treePath)) {}

    // The form told of every change; set before it starts.
    TForm1* form = nullptr;
    std::vector<std::string> errors;      // every error box's message
    std::vector<std::u16string> messages; // every message and question
    std::vector<MsgDlgType> messageTypes; // the kind of each of them
    std::map<Control, bool> enabled{{Control::Edit1, false}, {Control::SpinEdit2, false}};
    std::map<Control, SystemColor> colors;
    std::optional<NamePreviewRows> preview; // the new-name list last shown
    ProgressRange progress;
    bool closed = false;

    std::u16string controlText(Control control) const override { return m_texts.at(control); }
    void setControlText(Control control, std::u16string_view text) override {
        std::u16string& stored = m_texts[control];
        if (stored == text)
            return;
        stored = text;
        changed(control);
    }
    std::int32_t controlValue(Control control) const override {
        if (control == Control::RadioGroup1)
            return m_itemIndex;
        return spinEditValue(utf8(m_texts.at(control)), m_minValues.at(control));
    }
    void setControlValue(Control control, std::int32_t value) override {
        if (control == Control::RadioGroup1) {
            if (value != m_itemIndex && value >= -1 && value <= 2) {
                m_itemIndex = value;
                changed(control);
            }
            return;
        }
        const std::string text = spinEditText(value, m_minValues.at(control), kSpinMax);
        setControlText(control, std::u16string(text.begin(), text.end()));
    }
    void setControlMinValue(Control control, std::int32_t value) override {
        m_minValues[control] = value;
    }
    std::int32_t controlMinValue(Control control) const { return m_minValues.at(control); }
    bool controlChecked(Control control) const override { return m_checked.at(control); }
    void setControlChecked(Control control, bool checked) override {
        if (m_checked[control] == checked)
            return;
        m_checked[control] = checked;
        if (control != Control::CheckBox1) { // the other radio button of the pair
            m_checked[control == Control::RadioButton1 ? Control::RadioButton2
                                                       : Control::RadioButton1] = !checked;
            if (!checked)
                return;
        }
        changed(control);
    }
    void enableControl(Control control, bool on) override { enabled[control] = on; }
    void colorControl(Control control, SystemColor color) override { colors[control] = color; }
    const std::vector<std::string>& listItems() const override { return m_items; }
    void setListItems(std::vector<std::string> names) override { m_items = std::move(names); }
    std::string filterMask() override { return "*.*"; }
    std::string treePath() const override { return m_treePath; }
    void setTreePath(const std::string& path) override {
        if (path == m_treePath)
            return;
        m_treePath = path;
        changed(Control::ShellTreeView1);
    }
    void collapseTree() override {}
    std::string volumeRootOf(const std::string& path) const override { return path; }
    std::vector<std::string> shownFolders() const override { return {m_treePath}; }
    void setProgressMin(int value) override { progress.setMin(value); }
    void setProgressMax(int value) override { progress.setMax(value); }
    void setProgressPosition(int value) override { progress.setPosition(value); }
    void setProgressStep(int value) override { progress.setStep(value); }
    void stepProgress() override { progress.stepIt(); }
    int showMessage(std::u16string_view message, MsgDlgType type,
                    std::initializer_list<MsgDlgBtn>) override {
        messages.emplace_back(message);
        messageTypes.push_back(type);
        return kResultOk;
    }
    int ask(std::u16string_view message, MsgDlgType type, const std::vector<DialogButton>&,
            bool) override {
        messages.emplace_back(message);
        messageTypes.push_back(type);
        return kResultCancel;
    }
    void showError(const std::string& message) override { errors.push_back(message); }
    void showNamePreview(NamePreviewRows rows) override { preview = std::move(rows); }
    void closeWindow() override { closed = form->closeRequested(); }
    void setBusy(bool) override {}
    void processPaintEvents() override {}

private:
    static constexpr std::int32_t kSpinMax = 100;

    static std::string utf8(const std::u16string& ascii) { return {ascii.begin(), ascii.end()}; }
    void changed(Control control) {
        if (form)
            form->controlChanged(control);
    }

    std::string m_treePath;
    std::vector<std::string> m_items;
    // The stored layout's start values.
    std::map<Control, std::u16string> m_texts{{Control::SpinEdit1, u"4"},
                                              {Control::SpinEdit2, u"0"},
                                              {Control::Edit1, u""},
                                              {Control::StatusBar1, u""},
                                              {Control::Label3, u""}};
    std::map<Control, std::int32_t> m_minValues{{Control::SpinEdit1, 0}, {Control::SpinEdit2, 0}};
    std::map<Control, bool> m_checked{
        {Control::CheckBox1, false}, {Control::RadioButton1, true}, {Control::RadioButton2, false}};
    int m_itemIndex = 0;
};

} // namespace ordinalette::form::testing
