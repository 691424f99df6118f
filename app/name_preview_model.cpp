#include "app/name_preview_model.h"

#include "platform/text_services.h"

#include <QColor>

namespace ordinalette::app {

NamePreviewModel::NamePreviewModel(form::NamePreviewRows rows, platform::CodePage codePage,
                                   QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_codePage(std::move(codePage)) {}

int NamePreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.count());
}

int NamePreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString NamePreviewModel::decoded(const std::string& name) const {
    return QString::fromStdU16String(platform::decodeText(name, m_codePage));
}

QVariant NamePreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case form::NamePreviewRows::CurrentName:
            return decoded(m_rows.currentName(row));
        case form::NamePreviewRows::NewName:
            return decoded(m_rows.newName(row));
        case form::NamePreviewRows::Remark:
            return QString::fromUtf8(m_rows.remark(row));
        default:
            return {};
        }
    }
    // A name the run cannot give stands out in red, so that it is found among many.
    if (role == Qt::ForegroundRole && index.column() != form::NamePreviewRows::CurrentName &&
        m_rows.marked(row))
        return QColor(Qt::red);
    return {};
}

QVariant NamePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromUtf8(form::NamePreviewRows::columnTitle(static_cast<Column>(section)));
}

} // namespace ordinalette::app
