#pragma once

#include "platform/code_page.h"
#include "platform/text_services.h"

#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

namespace ordinalette::app {

// The names of a sorted list box: raw byte names kept in the file list's order (case-insensitive
// collation, then bytes), shown decoded. No widget or item object per name.
class SortedNameModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Names are bytes of codePage, in the order of collator, which must outlive the model.
    SortedNameModel(platform::CodePage codePage, const platform::TextCollator& collator,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const std::vector<std::string>& names() const { return m_names; }
    void setItemHeight(int height);
    void clear();
    // Inserts one name at its sorted place.
    void add(std::string name);
    // Adds many names at once, sorting them once instead of inserting one by one.
    void addAll(std::vector<std::string> names);

private:
    platform::CodePage m_codePage;
    const platform::TextCollator& m_collator;
    std::vector<std::string> m_names;
    int m_itemHeight = 12;
};

// A list box that keeps its items sorted by itself, for up to hundreds of thousands of names.
class TListBox : public QListView {
    Q_OBJECT
public:
    TListBox(const platform::CodePage& codePage, const platform::TextCollator& collator,
             QWidget* parent = nullptr);

    int count() const { return static_cast<int>(m_model->names().size()); }
    const std::string& item(int index) const {
        return m_model->names().at(static_cast<std::size_t>(index));
    }
    const std::vector<std::string>& items() const { return m_model->names(); }
    void clear() { m_model->clear(); }
    // Raise EControlError "行を挿入できません" when the list cannot take the names.
    void add(std::string name);
    void addAll(std::vector<std::string> names);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateItemHeight();

    SortedNameModel* m_model;
};

} // namespace ordinalette::app
