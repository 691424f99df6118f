#pragma once

#include "form/name_preview_rows.h"
#include "platform/code_page.h"

#include <QAbstractTableModel>

namespace ordinalette::app {

// The new-name list's rows (form::NamePreviewRows) as a table model; names are decoded only
// for the rows shown, so that a hundred thousand files cost no widget and no text per row.
class NamePreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Column = form::NamePreviewRows::Column;
    static constexpr int ColumnCount = form::NamePreviewRows::ColumnCount;

    NamePreviewModel(form::NamePreviewRows rows, platform::CodePage codePage,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int markedCount() const { return m_rows.markedCount(); }
    int firstMarkedRow() const { return m_rows.firstMarkedRow(); }

private:
    QString decoded(const std::string& name) const;

    form::NamePreviewRows m_rows;
    platform::CodePage m_codePage;
};

} // namespace ordinalette::app
