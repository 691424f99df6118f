#include "app/name_preview_dialog.h"

#include "app/form_builder.h"
#include "app/name_preview_model.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>

namespace ordinalette::app {

namespace {

// Fixed pixel geometry, as the main window has it.
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 400;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kColumnWidths[NamePreviewModel::ColumnCount] = {200, 200, 120};

} // namespace

NamePreviewDialog::NamePreviewDialog(form::NamePreviewRows rows, platform::CodePage codePage,
                                     QWidget* parent)
    : QDialog(parent), m_model(new NamePreviewModel(std::move(rows), std::move(codePage), this)),
      m_view(new QTreeView(this)), m_summary(new QLabel(this)),
      m_close(new QPushButton(QString::fromUtf8("閉じる"), this)) {
    setWindowTitle(QString::fromUtf8("新しい名前の一覧"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);
    setFont(form1Font());
    setFixedSize(kClientWidth, kClientHeight);

    const int buttonTop = kClientHeight - kMargin - kButtonHeight;
    m_view->setGeometry(kMargin, kMargin, kClientWidth - 2 * kMargin, buttonTop - 2 * kMargin);
    // One uniform row per file, laid out without asking each row for its size.
    m_view->setUniformRowHeights(true);
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setModel(m_model);
    m_view->header()->setSectionsMovable(false);
    m_view->header()->setStretchLastSection(true);
    for (int column = 0; column < NamePreviewModel::ColumnCount; ++column)
        m_view->setColumnWidth(column, kColumnWidths[column]);
    // The first name the run cannot give is in view at once, however long the list.
    const int current = std::max(m_model->firstMarkedRow(), 0);
    if (m_model->rowCount() > 0)
        m_view->setCurrentIndex(m_model->index(current, 0));

    m_summary->setGeometry(kMargin, buttonTop, kClientWidth - 3 * kMargin - kButtonWidth,
                           kButtonHeight);
    if (m_model->markedCount() > 0)
        m_summary->setText(QString::fromUtf8("名前を付けられないファイルが %1 件あります")
                               .arg(m_model->markedCount()));

    m_close->setGeometry(kClientWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth,
                         kButtonHeight);
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    m_view->setFocus();
}

} // namespace ordinalette::app
