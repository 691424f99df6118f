#pragma once

#include "engine/name_preview.h"
#include "platform/code_page.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace ordinalette::app {

// The rows of the new-name list: each listed file's current name, its new name and, where the
// run cannot give that name, why. Names are held as bytes and decoded only for the rows shown,
// so that a hundred thousand files cost no widget and no text per row.
class NamePreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { CurrentName, NewName, Remark, ColumnCount };

    NamePreviewModel(std::vector<std::string> currentNames,
                     std::vector<engine::PreviewedName> newNames, platform::CodePage codePage,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // How many new names the run cannot give, and the row of the first of them (-1 for none).
    int markedCount() const { return m_markedCount; }
    int firstMarkedRow() const { return m_firstMarkedRow; }

private:
    QString decoded(const std::string& name) const;

    std::vector<std::string> m_currentNames;
    std::vector<engine::PreviewedName> m_newNames;
    platform::CodePage m_codePage;
    int m_markedCount = 0;
    int m_firstMarkedRow = -1;
};

} // namespace ordinalette::app
