#pragma once

#include "form/filter_string.h"

#include <QComboBox>
#include <string>
#include <vector>

namespace ordinalette::app {

// A drop-down list of file types built from a filter string, yielding the mask of the picked
// entry. Only the user's picks (and a new filter string) report a change.
class TFilterComboBox : public QComboBox {
    Q_OBJECT
public:
    // Filter strings are bytes of codePage.
    explicit TFilterComboBox(platform::CodePage codePage, QWidget* parent = nullptr);

    // Rebuilds the entries from a filter string, selects entry 0 and reports a change.
    void setFilter(std::string filter);
    // The selected entry's mask; with none selected the last entry is selected quietly first.
    // "*.*" when there are no entries.
    std::string selectedMask();

Q_SIGNALS:
    void OnChange();

private:
    void rebuildEntries();

    platform::CodePage m_codePage;
    std::string m_filter;
    std::vector<form::FilterEntry> m_entries;
};

} // namespace ordinalette::app
