// TShellTreeView: mouse input; a left click selects on release, a right click never.
#include "app/tree/t_shell_tree_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QStyle>

namespace ordinalette::foldertree {

bool TShellTreeView::onLabelOrIcon(const QModelIndex& node, const QPoint& pos) const {
    const QRect cell = visualRect(node);
    const int iconWidth = iconSize().width();
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int right = cell.left() + iconWidth + 4 * margin +
                      fontMetrics().horizontalAdvance(node.data().toString());
    return cell.contains(pos) && pos.x() <= right;
}

bool TShellTreeView::onExpandButton(const QModelIndex& node, const QPoint& pos) const {
    const QRect cell = visualRect(node);
    return node.parent().isValid() && pos.x() < cell.left() &&
           pos.x() >= cell.left() - indentation();
}

void TShellTreeView::setDropHighlight(const QModelIndex& node) {
    m_dropHighlight = node;
    viewport()->update();
}

void TShellTreeView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex node = indexAt(pos);
    if (event->button() == Qt::LeftButton) {
        m_control.setClickState(ClickState::None);
        if (node.isValid() && onLabelOrIcon(node, pos)) {
            setDropHighlight(node);
            m_control.setClickState(ClickState::LeftPending);
            setFocus(Qt::MouseFocusReason);
            event->accept();
            return;
        }
        setDropHighlight({});
        setFocus(Qt::MouseFocusReason);
        if (node.isValid() && onExpandButton(node, pos)) {
            if (isExpanded(node))
                collapse(node);
            else
                expandNode(node);
        }
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton && node.isValid() && node != rootNode()) {
        setDropHighlight(node);
        m_control.setClickState(ClickState::RightPending);
    }
    event->accept();
}

void TShellTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // A right click whose context menu request did not come ends here.
        if (event->button() == Qt::RightButton &&
            m_control.clickState() == ClickState::RightPending) {
            setDropHighlight({});
            m_control.setClickState(ClickState::None);
        }
        event->accept();
        return;
    }
    const QModelIndex target = m_dropHighlight;
    const bool pending = m_control.clickState() == ClickState::LeftPending;
    m_control.setClickState(ClickState::None);
    if (pending && recordOf(target)) {
        // A click on the label of the node already selected edits it, unless a second click
        // follows at once (a double-click).
        const bool wasSelected = target == currentIndex();
        selectNode(target);
        setDropHighlight({});
        if (wasSelected && onLabelOrIcon(target, event->position().toPoint())) {
            m_editCandidate = target;
            m_editTimer.start();
        }
    }
    event->accept();
}

void TShellTreeView::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: a pending click stays pending until the release.
    if (event->buttons() == Qt::NoButton)
        QTreeView::mouseMoveEvent(event);
}

void TShellTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_editTimer.stop();
    const QPoint pos = event->position().toPoint();
    const QModelIndex node = indexAt(pos);
    if (event->button() == Qt::LeftButton && node.isValid() &&
        (onExpandButton(node, pos) || onLabelOrIcon(node, pos))) {
        if (isExpanded(node))
            collapse(node);
        else
            expandNode(node);
    }
    event->accept();
}

void TShellTreeView::contextMenuEvent(QContextMenuEvent* event) {
    // No context menu is linked to the tree: the right click only ends.
    setDropHighlight({});
    m_control.setClickState(ClickState::None);
    event->accept();
}

QItemSelectionModel::SelectionFlags TShellTreeView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (!m_control.maySelect())
        return QItemSelectionModel::NoUpdate;
    return QTreeView::selectionCommand(index, event);
}

} // namespace ordinalette::foldertree
