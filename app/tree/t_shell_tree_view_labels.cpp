// TShellTreeView: node images and renaming a folder by editing its label.
#include "app/tree/deferred_icon.h"
#include "app/tree/shell_icons.h"
#include "app/tree/t_shell_tree_view.h"
#include "platform/error_number.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStyle>
#include <stdexcept>

namespace ordinalette::foldertree {

QIcon TShellTreeView::nodeImage(int imageIndex) {
    auto cached = m_images.find(imageIndex);
    if (cached == m_images.end()) {
        const int size = iconSize().width();
        // The style's fallback images are decoded from files: only the rows painted need them.
        const QPointer<TShellTreeView> view(this);
        const auto shown = [view, imageIndex, size] {
            if (!view)
                return QIcon();
            const auto image = [&](bool open) {
                const QIcon icon = shellIcon(imageType(imageIndex), open, *view->style());
                return imageIsLink(imageIndex) ? withLinkOverlay(icon, size) : icon;
            };
            // The selected node shows the open image.
            QIcon images;
            images.addPixmap(image(false).pixmap(size, size), QIcon::Normal);
            images.addPixmap(image(true).pixmap(size, size), QIcon::Selected);
            return images;
        };
        cached = m_images.emplace(imageIndex, deferredIcon(QSize(size, size), shown)).first;
    }
    return cached->second;
}

void TShellTreeView::resetImages() {
    m_images.clear();
    tree().resetImages();
    viewport()->update();
}

bool TShellTreeView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ThemeChange:
        // The images follow the new settings once the change has settled.
        QMetaObject::invokeMethod(this, &TShellTreeView::resetImages, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QTreeView::event(event);
}

// ---- Renaming in place ----------------------------------------------------------------------

bool TShellTreeView::canEditLabel(const QModelIndex& node) {
    return m_control.canEditLabel(recordOf(node));
}

void TShellTreeView::startEditing(const QModelIndex& node) {
    if (canEditLabel(node) && state() != EditingState)
        edit(node);
}

bool TShellTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!canEditLabel(index) || !QTreeView::edit(index, trigger, event))
        return false;
    m_editing = index;
    m_labelEdit.begin(indexWidget(index));
    return true;
}

void TShellTreeView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    switch (event->key()) {
    case Qt::Key_F2:
        startEditing(current);
        break;
    case Qt::Key_Asterisk:
        // The tree view's own "*" would read the whole namespace at once, through links.
        expandSubtree(current);
        break;
    case Qt::Key_Right:
    case Qt::Key_Plus:
        // Opens a folder with an expand button, reading it first; Right then goes to the
        // first child, and on a folder without children nothing moves, not even the view.
        if (event->key() == Qt::Key_Right && isExpanded(current) &&
            m_model->rowCount(current) > 0) {
            QTreeView::keyPressEvent(event);
            return;
        }
        expandNode(current);
        break;
    default:
        QTreeView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TShellTreeView::commitData(QWidget* editor) {
    // Only an edit the user ended renames; one the program ended (its node gone, the selection
    // moved) drops the typed text. The folder is renamed once the editor is closed.
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (m_labelEdit.endedByUser() && line && m_editing.isValid())
        m_pendingRename = {m_editing, line->text()};
}

void TShellTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeView::closeEditor(editor, hint);
    if (!m_pendingRename)
        return;
    const auto [index, text] = std::move(*m_pendingRename);
    m_pendingRename.reset();
    if (index.isValid())
        renameNode(index, text);
}

void TShellTreeView::renameNode(const QModelIndex& node, const QString& text) {
    TShellFolderItem* record = recordOf(node);
    if (!record)
        return;
    // Watching stops around the rename, so the watcher's re-read cannot run in its middle.
    if (m_watcher)
        m_watcher->SetFolders(std::vector<std::string>{});
    const QString oldText = m_model->nodeText(*record);
    int failure = platform::error::None;
    {
        // Moving the node among its siblings is no change of the selection.
        const QScopedValueRollback renaming(m_renaming, true);
        failure = m_control.renameLabel(*record, text.toStdU16String());
    }
    scheduleWatchUpdate();
    // Renamed or not, the label shows the record's name: a refused name gives the old back,
    // and the user is told why once the tree is whole again.
    update(node);
    if (failure != platform::error::None)
        raise(std::runtime_error(renameFailureText(oldText.toStdU16String(), failure)));
}

} // namespace ordinalette::foldertree
