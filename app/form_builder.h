#pragma once

#include "app/form_layout.h"

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
    TabStop tabStop;
};

// The window's font: "ＭＳ Ｐゴシック" or the nearest Japanese UI font, 12 pixels high.
QFont form1Font();

// Gives the window its caption, geometry and font and creates every described control as a
// named child, with its stored values; binds no handler. The folder tree shows shellNamespace.
void buildForm(QWidget* form, const FormDescription& description,
               std::span<const ControlDescription> controls,
               const std::shared_ptr<foldertree::ShellNamespace>& shellNamespace);

// The window's fixed place may lie beyond a small screen, or one whose pixels are scaled up: the
// window then moves just far enough to lie inside the screen's available area, its top-left
// corner first when it is larger than that. Where it fits, it stays. Called when the window is
// shown, once its frame is known.
void keepInsideScreen(QWidget* window);

// Every control in the order Tab walks them: each parent's children by tab order, a child's
// own children right after it (the items of a radio group after the group).
std::vector<TabEntry> tabChain(QWidget* form, std::span<const ControlDescription> controls);

} // namespace ordinalette::app
