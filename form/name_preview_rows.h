#pragma once

#include "engine/name_preview.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ordinalette::form {

// The rows of the new-name list: each listed file's current name, its new name and, where the
// run cannot give that name, why. Names are bytes of the code page; a front end decodes only
// the rows it shows.
class NamePreviewRows {
public:
    enum Column { CurrentName, NewName, Remark, ColumnCount };

    NamePreviewRows(std::vector<std::string> currentNames,
                    std::vector<engine::PreviewedName> newNames);

    std::size_t count() const { return m_newNames.size(); }
    const std::string& currentName(std::size_t row) const { return m_currentNames[row]; }
    const std::string& newName(std::size_t row) const { return m_newNames[row].name; }
    // Whether the run cannot give the row's new name.
    bool marked(std::size_t row) const { return m_newNames[row].mark != engine::NameMark::None; }
    // Why the run cannot give the row's new name (UTF-8); empty for a name it gives.
    const char* remark(std::size_t row) const;

    // How many new names the run cannot give, and the row of the first of them (-1 for none).
    int markedCount() const { return m_markedCount; }
    int firstMarkedRow() const { return m_firstMarkedRow; }

    // The title of a column (UTF-8).
    static const char* columnTitle(Column column);

private:
    std::vector<std::string> m_currentNames;
    std::vector<engine::PreviewedName> m_newNames;
    int m_markedCount = 0;
    int m_firstMarkedRow = -1;
};

} // namespace ordinalette::form
