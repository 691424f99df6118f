#include "app/name_preview_model.h"

#include "platform/text_services.h"

#include <QColor>

namespace ordinalette::app {

namespace {

QString markText(engine::NameMark mark) {
    switch (mark) {
    case engine::NameMark::InvalidName:
        return QString::fromUtf8("不正なファイル名");
    case engine::NameMark::TooLong:
        return QString::fromUtf8("名前が長すぎます");
    case engine::NameMark::Taken:
        return QString::fromUtf8("既に存在します");
    case engine::NameMark::None:
        break;
    }
    return {};
}

} // namespace

NamePreviewModel::NamePreviewModel(std::vector<std::string> currentNames,
                                   std::vector<engine::PreviewedName> newNames,
                                   platform::CodePage codePage, QObject* parent)
    : QAbstractTableModel(parent), m_currentNames(std::move(currentNames)),
      m_newNames(std::move(newNames)), m_codePage(std::move(codePage)) {
    for (std::size_t row = 0; row < m_newNames.size(); ++row) {
        if (m_newNames[row].mark == engine::NameMark::None)
            continue;
        if (m_markedCount++ == 0)
            m_firstMarkedRow = static_cast<int>(row);
    }
}

int NamePreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_newNames.size());
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
    const engine::PreviewedName& newName = m_newNames[row];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case CurrentName:
            return decoded(m_currentNames[row]);
        case NewName:
            return decoded(newName.name);
        case Remark:
            return markText(newName.mark);
        }
    }
    // A name the run cannot give stands out in red, so that it is found among many.
    if (role == Qt::ForegroundRole && index.column() != CurrentName &&
        newName.mark != engine::NameMark::None)
        return QColor(Qt::red);
    return {};
}

QVariant NamePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case CurrentName:
        return QString::fromUtf8("現在の名前");
    case NewName:
        return QString::fromUtf8("新しい名前");
    case Remark:
        return QString::fromUtf8("備考");
    }
    return {};
}

} // namespace ordinalette::app
