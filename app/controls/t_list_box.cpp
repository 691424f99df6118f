#include "app/controls/t_list_box.h"

#include "form/control_error.h"
#include "platform/list_order.h"

#include <QEvent>
#include <QFontMetrics>
#include <QSize>
#include <algorithm>
#include <new>

namespace ordinalette::app {

namespace {

constexpr int kItemHeight = 12;
constexpr char kCannotInsert[] = "行を挿入できません";

} // namespace

SortedNameModel::SortedNameModel(platform::CodePage codePage,
                                 const platform::TextCollator& collator, QObject* parent)
    : QAbstractListModel(parent), m_codePage(std::move(codePage)), m_collator(collator) {}

int SortedNameModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant SortedNameModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdU16String(
            platform::decodeText(m_names[static_cast<std::size_t>(index.row())], m_codePage));
    if (role == Qt::SizeHintRole)
        return QSize(0, m_itemHeight);
    return {};
}

void SortedNameModel::setItemHeight(int height) {
    beginResetModel();
    m_itemHeight = height;
    endResetModel();
}

void SortedNameModel::clear() {
    beginResetModel();
    m_names.clear();
    m_names.shrink_to_fit();
    endResetModel();
}

void SortedNameModel::add(std::string name) {
    const auto place = std::upper_bound(
        m_names.begin(), m_names.end(), name, [this](const std::string& a, const std::string& b) {
            return platform::compareInListOrder(a, b, m_collator) < 0;
        });
    const int row = static_cast<int>(place - m_names.begin());
    beginInsertRows({}, row, row);
    m_names.insert(place, std::move(name));
    endInsertRows();
}

void SortedNameModel::addAll(std::vector<std::string> names) {
    const auto outOfOrder = [this](const std::string& a, const std::string& b) {
        return platform::compareInListOrder(a, b, m_collator) > 0;
    };
    // A listing arrives in the list's order already; then checking is all the work there is.
    const bool sorted = m_names.empty() &&
                        std::adjacent_find(names.begin(), names.end(), outOfOrder) == names.end();
    if (!sorted) {
        names.insert(names.end(), m_names.begin(), m_names.end());
        platform::sortInListOrder(names, m_collator);
    }
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

TListBox::TListBox(const platform::CodePage& codePage, const platform::TextCollator& collator,
                   QWidget* parent)
    : QListView(parent), m_model(new SortedNameModel(codePage, collator, this)) {
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    updateItemHeight();
}

void TListBox::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateItemHeight();
}

// Rows are 12 pixels high, or as high as the font needs where a substitute font's descent
// would otherwise cut off underscores and the like.
void TListBox::updateItemHeight() {
    m_model->setItemHeight(std::max(kItemHeight, fontMetrics().height()));
}

void TListBox::add(std::string name) {
    try {
        m_model->add(std::move(name));
    } catch (const std::bad_alloc&) {
        throw form::EControlError(kCannotInsert);
    }
}

void TListBox::addAll(std::vector<std::string> names) {
    try {
        m_model->addAll(std::move(names));
    } catch (const std::bad_alloc&) {
        throw form::EControlError(kCannotInsert);
    }
}

} // namespace ordinalette::app
