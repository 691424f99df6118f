#pragma once

#include "form/system_color.h"

#include <optional>
#include <span>
#include <vector>

namespace ordinalette::form {

enum class ControlKind {
    ShellTreeView,
    ListBox,
    StatusBar,
    GroupBox,
    Label,
    RadioButton,
    SpinEdit,
    Edit,
    CheckBox,
    RadioGroup,
    BitBtn,
    FilterComboBox,
    ProgressBar,
};

// Whether the Tab key stops on a control: never, always, or while it is the checked radio
// button of its set.
enum class TabStop { No, Yes, WhileChecked };

// The stored description of one control of the main window: what it is, where it sits and
// what it holds before any handler runs. Texts are UTF-8.
struct ControlDescription {
    const char* name;
    ControlKind kind;
    const char* parent; // nullptr for the window itself
    int left, top, width, height;
    const char* text = "";
    int tabOrder = -1; // place in the parent's tab order; -1 outside the tab cycle
    TabStop tabStop = TabStop::No;
    bool enabled = true;
    std::optional<SystemColor> color = std::nullopt;
    bool checked = false;        // check boxes and radio buttons
    const char* items = nullptr; // radio group items, separated by "\n"
    int itemIndex = -1;          // radio group
    int minValue = 0;            // spin edits and the progress bar
    int maxValue = 0;
    int step = 1;               // the progress bar
    bool defaultButton = false; // the button Enter presses (glyph BBOK)
    bool cancelButton = false;  // the button Escape presses (glyph BBCANCEL)
    // What a screen reader names an input control by: its caption, which stands beside it in
    // another control. Group boxes and controls with a text of their own are named by it.
    const char* accessibleName = nullptr;
};

// The window itself.
struct FormDescription {
    const char* caption;
    int left, top;
    int clientWidth, clientHeight;
};

const FormDescription& form1Description();
// Every control, a parent before its children, in the order of creation.
std::span<const ControlDescription> form1Controls();

// One place of the Tab cycle: a control, or with an item index one item of a radio group.
struct TabPlace {
    const ControlDescription* control;
    int item = -1;
    TabStop tabStop = TabStop::No;
};

// Every control in the order Tab walks them: each parent's children by tab order, a child's
// own children right after it, and the items of a radio group after the group, each with the
// group's tab stop while the group itself is none.
std::vector<TabPlace> tabChain(std::span<const ControlDescription> controls);

} // namespace ordinalette::form
