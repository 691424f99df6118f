// TShellTreeView: how the rows are drawn: lines, plus and minus boxes, and the selection only
// while the tree has the focus (ShowLines, ShowButtons, HideSelection).
#include "app/tree/t_shell_tree_view.h"

#include <QPainter>

namespace ordinalette::foldertree {

namespace {

// Dotted lines put their dots on the pixels of one parity, so that the lines of rows and
// columns meet without a gap.
void dottedVertical(QPainter& painter, int x, int top, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        if (((x + y) & 1) == 0)
            painter.drawPoint(x, y);
    }
}

void dottedHorizontal(QPainter& painter, int y, int left, int right) {
    for (int x = left; x <= right; ++x) {
        if (((x + y) & 1) == 0)
            painter.drawPoint(x, y);
    }
}

bool hasNextSibling(const QModelIndex& node) {
    return node.sibling(node.row() + 1, 0).isValid();
}

// A box of 9 by 9 pixels around centre, with a minus, and with a plus when it is collapsed.
void drawButton(QPainter& painter, const QPalette& palette, QPoint centre, bool expanded) {
    const QRect box(centre.x() - 4, centre.y() - 4, 9, 9);
    painter.fillRect(box, palette.color(QPalette::Base));
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(palette.color(QPalette::Text));
    painter.drawLine(centre.x() - 2, centre.y(), centre.x() + 2, centre.y());
    if (!expanded)
        painter.drawLine(centre.x(), centre.y() - 2, centre.x(), centre.y() + 2);
}

} // namespace

void TShellTreeView::drawBranches(QPainter* painter, const QRect& rect,
                                  const QModelIndex& index) const {
    // The root stands without lines or a button (ShowRoot off): its row has no branch column.
    const int indent = indentation();
    if (rect.width() < indent)
        return;
    painter->save();
    painter->setPen(palette().color(QPalette::Dark));
    // The node's own column: from the sibling above down to the node, on to the next sibling.
    const int middleX = rect.right() + 1 - indent + indent / 2;
    const int middleY = rect.center().y();
    dottedVertical(*painter, middleX, rect.top(), hasNextSibling(index) ? rect.bottom() : middleY);
    dottedHorizontal(*painter, middleY, middleX, rect.right());
    // The columns of its ancestors below the root: a line where the ancestor has a next sibling.
    int x = middleX - indent;
    for (QModelIndex ancestor = index.parent(); ancestor.parent().isValid() && x >= rect.left();
         ancestor = ancestor.parent(), x -= indent) {
        if (hasNextSibling(ancestor))
            dottedVertical(*painter, x, rect.top(), rect.bottom());
    }
    if (model()->hasChildren(index))
        drawButton(*painter, palette(), QPoint(middleX, middleY), isExpanded(index));
    painter->restore();
}

void TShellTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    // The expand button of a row is probed when the row is first painted; a row that turns out
    // to have none is laid out again without it.
    const bool laidOutWithButton = m_model->hasChildren(index);
    if (laidOutWithButton != m_model->showsButton(index))
        const_cast<TShellTreeView*>(this)->scheduleDelayedItemsLayout();
    // The selection shows only while the tree has the focus. While a click is pending, the
    // pressed node shows as selected and the selection does not. The view marks the selected
    // row itself, so that row is drawn with the highlight in the colours of an ordinary row.
    const bool selectionShown = !m_dropHighlight.isValid() && hasFocus();
    if (selectionShown)
        return QTreeView::drawRow(painter, option, index);
    QStyleOptionViewItem shown(option);
    if (index == m_dropHighlight) {
        shown.state |= QStyle::State_Selected;
    } else if (selectionModel()->isSelected(index)) {
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            shown.palette.setColor(group, QPalette::Highlight,
                                   option.palette.color(group, QPalette::Base));
            shown.palette.setColor(group, QPalette::HighlightedText,
                                   option.palette.color(group, QPalette::Text));
        }
    }
    QTreeView::drawRow(painter, shown, index);
}

} // namespace ordinalette::foldertree
