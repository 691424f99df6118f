// TShellTreeView: mouse input; a left click selects on release, a right click never.
#include "foldertree/t_shell_tree_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QStyle>

namespace ordinalette::foldertree {

bool TShellTreeView::onLabelOrIcon(QTreeWidgetItem* node, const QPoint& pos) const {
    const QRect cell = visualItemRect(node);
    const int iconWidth = iconSize().width();
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int right =
        cell.left() + iconWidth + 4 * margin + fontMetrics().horizontalAdvance(node->text(0));
    return cell.contains(pos) && pos.x() <= right;
}

bool TShellTreeView::onExpandButton(QTreeWidgetItem* node, const QPoint& pos) const {
    const QRect cell = visualItemRect(node);
    return node->parent() && pos.x() < cell.left() && pos.x() >= cell.left() - indentation();
}

void TShellTreeView::setDropHighlight(QTreeWidgetItem* node) {
    m_dropHighlight = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
    viewport()->update();
}

QTreeWidgetItem* TShellTreeView::dropHighlight() const {
    return m_dropHighlight.isValid() ? itemFromIndex(m_dropHighlight) : nullptr;
}

void TShellTreeView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    if (event->button() == Qt::LeftButton) {
        m_clickState = ClickState::None;
        if (node && onLabelOrIcon(node, pos)) {
            setDropHighlight(node);
            m_clickState = ClickState::LeftPending;
            setFocus(Qt::MouseFocusReason);
            event->accept();
            return;
        }
        setDropHighlight(nullptr);
        if (node && onExpandButton(node, pos))
            QTreeWidget::mousePressEvent(event);
        else
            setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton && node && node != topLevelItem(0)) {
        setDropHighlight(node);
        m_clickState = ClickState::RightPending;
    }
    event->accept();
}

void TShellTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // A right click whose context menu request did not come ends here.
        if (event->button() == Qt::RightButton && m_clickState == ClickState::RightPending) {
            setDropHighlight(nullptr);
            m_clickState = ClickState::None;
        }
        event->accept();
        return;
    }
    QTreeWidgetItem* target = dropHighlight();
    const bool pending = m_clickState == ClickState::LeftPending;
    m_clickState = ClickState::None;
    if (pending && RecordOf(target)) {
        // A click on the label of the node already selected edits it, unless a second click
        // follows at once (a double-click).
        const bool wasSelected = target == currentItem();
        selectNode(target);
        setDropHighlight(nullptr);
        if (wasSelected && onLabelOrIcon(target, event->position().toPoint())) {
            m_editCandidate = indexFromItem(target);
            m_editTimer.start();
        }
    }
    event->accept();
}

void TShellTreeView::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: a pending click stays pending until the release.
    if (event->buttons() == Qt::NoButton)
        QTreeWidget::mouseMoveEvent(event);
}

void TShellTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_editTimer.stop();
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    if (event->button() != Qt::LeftButton || !node) {
        event->accept();
        return;
    }
    if (onExpandButton(node, pos)) {
        QTreeWidget::mousePressEvent(event);
    } else if (onLabelOrIcon(node, pos)) {
        if (node->isExpanded())
            collapseItem(node);
        else
            expandNode(node);
    }
    event->accept();
}

void TShellTreeView::contextMenuEvent(QContextMenuEvent* event) {
    // No context menu is linked to the tree: the right click only ends.
    setDropHighlight(nullptr);
    m_clickState = ClickState::None;
    event->accept();
}

QItemSelectionModel::SelectionFlags TShellTreeView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (m_closing || m_clickState != ClickState::None)
        return QItemSelectionModel::NoUpdate;
    return QTreeWidget::selectionCommand(index, event);
}

void TShellTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    // While a click is pending, the pressed node shows as selected and the selection does not.
    if (!m_dropHighlight.isValid())
        return QTreeWidget::drawRow(painter, option, index);
    QStyleOptionViewItem shown(option);
    if (index == m_dropHighlight)
        shown.state |= QStyle::State_Selected;
    else
        shown.state &= ~QStyle::State_Selected;
    QTreeWidget::drawRow(painter, shown, index);
}

} // namespace ordinalette::foldertree
