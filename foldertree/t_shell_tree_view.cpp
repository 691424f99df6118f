#include "foldertree/t_shell_tree_view.h"

namespace ordinalette::foldertree {

TShellTreeView::TShellTreeView(QWidget* parent) : QTreeWidget(parent) { setHeaderHidden(true); }

std::string TShellTreeView::Path() const { return {}; }

void TShellTreeView::SetPath(const std::string&) {}

void TShellTreeView::FullCollapse() { collapseAll(); }

} // namespace ordinalette::foldertree
