#include "form/name_preview_rows.h"

#include <utility>

namespace ordinalette::form {

NamePreviewRows::NamePreviewRows(std::vector<std::string> currentNames,
                                 std::vector<engine::PreviewedName> newNames)
    : m_currentNames(std::move(currentNames)), m_newNames(std::move(newNames)) {
    for (std::size_t row = 0; row < m_newNames.size(); ++row) {
        if (!marked(row))
            continue;
        if (m_markedCount++ == 0)
            m_firstMarkedRow = static_cast<int>(row);
    }
}

const char* NamePreviewRows::remark(std::size_t row) const {
    switch (m_newNames[row].mark) {
    case engine::NameMark::InvalidName:
        return "不正なファイル名";
    case engine::NameMark::TooLong:
        return "名前が長すぎます";
    case engine::NameMark::Taken:
        return "既に存在します";
    case engine::NameMark::None:
        break;
    }
    return "";
}

const char* NamePreviewRows::columnTitle(Column column) {
    switch (column) {
    case CurrentName:
        return "現在の名前";
    case NewName:
        return "新しい名前";
    case Remark:
        return "備考";
    case ColumnCount:
        break;
    }
    return "";
}

} // namespace ordinalette::form
