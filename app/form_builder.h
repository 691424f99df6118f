#pragma once

#include "form/form_layout.h"

#include <QFont>
#include <memory>
#include <vector>

class QWidget;

namespace ordinalette::foldertree {
class ShellNamespace;
}

namespace ordinalette::app {

// A control with its place in the window's tab order.
struct TabEntry {
    QWidget* widget;
    form::TabStop tabStop;
};

// The window's font: "ＭＳ Ｐゴシック" or the nearest Japanese UI font, 12 pixels high.
QFont form1Font();

// Gives the window its caption, geometry and font and creates every described control as a
// named child, with its stored values; binds no handler. The folder tree shows shellNamespace.
void buildForm(QWidget* form, const form::FormDescription& description,
               std::span<const form::ControlDescription> controls,
               const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace);

// The window's fixed place may lie beyond a small screen, or one whose pixels are scaled up: the
// window then moves just far enough to lie inside the screen's available area, its top-left
// corner first when it is larger than that. Where it fits, it stays. Called when the window is
// shown, once its frame is known.
void keepInsideScreen(QWidget* window);

// The widgets of the window's controls in the order Tab walks them (form::tabChain).
std::vector<TabEntry> tabChain(QWidget* form, std::span<const form::ControlDescription> controls);

} // namespace ordinalette::app
