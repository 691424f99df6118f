#pragma once

#include "form/form_layout.h"
#include "platform/code_page.h"
#include "platform/text_services.h"

#include <QFont>
#include <memory>
#include <vector>

class QWidget;

namespace ordinalette::foldertree {
class ShellNamespace;
}

namespace ordinalette::app {

// What the controls show: the folder tree its namespace, the file list and the filter names
// and texts in a code page, the list in the order of a collator, which outlives the controls.
struct ControlSources {
    std::shared_ptr<foldertree::ShellNamespace> shellNamespace;
    platform::CodePage codePage;
    const platform::TextCollator& collator;
};

// A control with its place in the window's tab order.
struct TabEntry {
    QWidget* widget;
    form::TabStop tabStop;
};

// The window's font: "ＭＳ Ｐゴシック" or the nearest Japanese UI font, 12 pixels high.
QFont form1Font();

// Gives the window its caption, geometry and font and creates every described control as a
// named child, with its stored values; binds no handler.
void buildForm(QWidget* form, const form::FormDescription& description,
               std::span<const form::ControlDescription> controls, const ControlSources& sources);

// The window's fixed place may lie beyond a small screen, or one whose pixels are scaled up: the
// window then moves just far enough to lie inside the screen's available area, its top-left
// corner first when it is larger than that. Where it fits, it stays. Called when the window is
// shown, once its frame is known.
void keepInsideScreen(QWidget* window);

// The widgets of the window's controls in the order Tab walks them (form::tabChain).
std::vector<TabEntry> tabChain(QWidget* form, std::span<const form::ControlDescription> controls);

} // namespace ordinalette::app
