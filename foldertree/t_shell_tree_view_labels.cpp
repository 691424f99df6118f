// TShellTreeView: node images and renaming a folder by editing its label.
#include "foldertree/error_display.h"
#include "foldertree/shell_icons.h"
#include "foldertree/t_shell_tree_view.h"
#include "platform/error_message.h"
#include "platform/text_services.h"

#include <QKeyEvent>
#include <QStyle>
#include <stdexcept>

namespace ordinalette::foldertree {

namespace {

// The message of a rename in place that failed: the folder, then the reason by error number.
std::string renameFailure(const QString& folder, int error) {
    const QString message = QString::fromUtf8("フォルダ %1 の名前を変更できません\n%2")
                                .arg(folder, QString::fromStdString(platform::errorMessage(error)));
    return message.toStdString();
}

} // namespace

QIcon TShellTreeView::NodeImage(TShellFolderItem& record) {
    if (record.Image)
        return *record.Image;
    // Images are made once per kind of item and shared by every record of that kind.
    const auto kind =
        std::make_pair(ItemType(record), record.Level() > 0 && record.HasAttribute(kAttrLink));
    auto cached = m_images.find(kind);
    if (cached == m_images.end()) {
        const int size = iconSize().width();
        const auto image = [&](bool open) {
            const QIcon icon = shellIcon(kind.first, open, *style());
            return kind.second ? withLinkOverlay(icon, size) : icon;
        };
        // The selected node shows the open image.
        QIcon shown;
        shown.addPixmap(image(false).pixmap(size, size), QIcon::Normal);
        shown.addPixmap(image(true).pixmap(size, size), QIcon::Selected);
        cached = m_images.emplace(kind, shown).first;
    }
    record.Image = cached->second;
    return cached->second;
}

void TShellTreeView::ResetImages() {
    m_images.clear();
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        TShellFolderItem* record = RecordOf(*it);
        if (!record)
            break;
        record->Image.reset();
    }
    viewport()->update();
}

bool TShellTreeView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ThemeChange:
        // The images follow the new settings once the change has settled.
        QMetaObject::invokeMethod(this, &TShellTreeView::ResetImages, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QTreeWidget::event(event);
}

// ---- Renaming in place ----------------------------------------------------------------------

bool TShellTreeView::canEditLabel(QTreeWidgetItem* node) {
    TShellFolderItem* record = RecordOf(node);
    return record && m_clickState == ClickState::None && record->Level() != 0 &&
           record->HasAttribute(kAttrCanRename);
}

void TShellTreeView::startEditing(QTreeWidgetItem* node) {
    if (canEditLabel(node) && state() != EditingState)
        editItem(node);
}

bool TShellTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!canEditLabel(itemFromIndex(index)) || !QTreeWidget::edit(index, trigger, event))
        return false;
    m_editing = index;
    m_labelEdit.Begin(indexWidget(index));
    return true;
}

void TShellTreeView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F2:
        startEditing(currentItem());
        break;
    case Qt::Key_Asterisk:
        // The tree control's own "*" would read the whole namespace at once, through links.
        ExpandSubtree(currentItem());
        break;
    default:
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TShellTreeView::commitData(QWidget* editor) {
    // Only an edit the user ended renames; one the program ended (its node gone, the selection
    // moved) drops the typed text.
    if (!m_labelEdit.EndedByUser())
        return;
    // The label takes the typed text first; the folder is renamed once the editor is closed.
    QTreeWidget::commitData(editor);
    if (QTreeWidgetItem* node = itemFromIndex(m_editing))
        m_pendingRename = {m_editing, node->text(0)};
}

void TShellTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    if (!m_pendingRename)
        return;
    const auto [index, text] = std::move(*m_pendingRename);
    m_pendingRename.reset();
    if (QTreeWidgetItem* node = itemFromIndex(index))
        RenameNode(node, text);
}

void TShellTreeView::RenameNode(QTreeWidgetItem* node, const QString& text) {
    TShellFolderItem* record = RecordOf(node);
    if (!record)
        return;
    // Watching stops around the rename, so the watcher's re-read cannot run in its middle.
    if (m_watcher)
        m_watcher->SetFolders(std::vector<std::string>{});
    const auto parentFolder = record->ParentFolder();
    const std::u16string typed = text.toStdU16String();
    const std::string name = platform::encodeText(typed, m_namespace->codePage());
    // An unchanged label renames nothing: a name shown with replacement characters would
    // otherwise be replaced by them. A name the code page cannot hold is an invalid name.
    const QString oldText = nodeText(*record);
    const bool changed = text != oldText;
    const bool encodable = platform::decodeText(name, m_namespace->codePage()) == typed;
    int failure = platform::error::None;
    if (changed && record->HasAttribute(kAttrCanRename)) {
        using Renamed = platform::Result<ItemIdList>;
        auto renamed = !parentFolder ? Renamed::failure(platform::error::FileNotFound)
                       : !encodable  ? Renamed::failure(platform::error::PathNotFound)
                                     : parentFolder->setNameOf(record->ItemID, name);
        if (renamed.ok()) {
            ItemIdList absolute = record->Level() == 1 ? ItemIdList{} : record->ParentID();
            absolute.insert(absolute.end(), renamed.value.begin(), renamed.value.end());
            record->Rename(std::move(renamed.value), std::move(absolute));
            reread(node);
        }
        failure = renamed.error;
    }
    // Renamed or not, the label shows the record's name: a refused name gives the old back,
    // and the user is told why once the tree is whole again.
    node->setText(0, nodeText(*record));
    scheduleWatchUpdate();
    if (failure != platform::error::None)
        DisplayError(std::runtime_error(renameFailure(oldText, failure)));
}

void TShellTreeView::reread(QTreeWidgetItem* node) {
    const bool expanded = node->isExpanded();
    while (node->childCount() > 0)
        deleteChild(node, node->childCount() - 1);
    // The renamed node takes its place in the parent folder's order; moving it is no change
    // of the selection.
    const bool selected = node == currentItem();
    m_renaming = true;
    if (QTreeWidgetItem* parent = node->parent()) {
        const auto folder = RecordOf(node)->ParentFolder();
        parent->takeChild(parent->indexOfChild(node));
        int place = 0;
        while (place < parent->childCount()) {
            TShellFolderItem* sibling = RecordOf(parent->child(place));
            const auto order = sibling && folder
                                   ? folder->compareIDs(sibling->ItemID, RecordOf(node)->ItemID)
                                   : std::nullopt;
            if (order && *order > 0)
                break;
            ++place;
        }
        parent->insertChild(place, node);
    }
    if (selected)
        setCurrentItem(node);
    m_renaming = false;
    RefreshChildren(node);
    if (expanded)
        expandNode(node);
}

} // namespace ordinalette::foldertree
