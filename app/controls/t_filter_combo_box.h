#pragma once

#include "platform/code_page.h"

#include <QComboBox>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::app {

// One entry of a file-type filter: the text the user sees and the wildcard mask behind it.
struct FilterEntry {
    std::string text;
    std::string mask;
    bool operator==(const FilterEntry&) const = default;
};

// Splits a filter string "text|mask|text|mask..." into entries; a text with no mask after it
// is dropped. The search for "|" never takes the trail byte of a double-byte character.
std::vector<FilterEntry> parseFilterString(std::string_view filter,
                                           const platform::CodePage& codePage);

// A drop-down list of file types built from a filter string, yielding the mask of the picked
// entry. Only the user's picks (and a new filter string) report a change.
class TFilterComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFilterComboBox(QWidget* parent = nullptr);

    // Rebuilds the entries from a filter string in the system code page, selects entry 0 and
    // reports a change.
    void setFilter(std::string filter);
    // The selected entry's mask; with none selected the last entry is selected quietly first.
    // "*.*" when there are no entries.
    std::string selectedMask();

Q_SIGNALS:
    void OnChange();

private:
    void rebuildEntries();

    std::string m_filter;
    std::vector<FilterEntry> m_entries;
};

} // namespace ordinalette::app
