#pragma once

#include "form/name_preview_rows.h"
#include "platform/code_page.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeView;

namespace ordinalette::app {

class NamePreviewModel;

// "新しい名前の一覧": every listed file with the new name a run would give it, in list order,
// the names the run cannot give marked and counted. It shows what it is given and touches no
// file. Modal; Escape or 閉じる closes it.
class NamePreviewDialog : public QDialog {
    Q_OBJECT
public:
    NamePreviewDialog(form::NamePreviewRows rows, platform::CodePage codePage,
                      QWidget* parent = nullptr);

    QTreeView* view() const { return m_view; }
    NamePreviewModel* model() const { return m_model; }
    QLabel* summary() const { return m_summary; }
    QPushButton* closeButton() const { return m_close; }

private:
    NamePreviewModel* m_model;
    QTreeView* m_view;
    QLabel* m_summary;
    QPushButton* m_close;
};

} // namespace ordinalette::app
