#include "app/controls/t_filter_combo_box.h"

#include "platform/text_services.h"

namespace ordinalette::app {

namespace {

constexpr char kDefaultFilter[] = "すべてのファイル (*.*)|*.*";

} // namespace

std::vector<FilterEntry> parseFilterString(std::string_view filter,
                                           const platform::CodePage& codePage) {
    std::vector<FilterEntry> entries;
    std::string_view rest = filter;
    for (std::size_t bar = codePage.find(rest, '|'); bar != std::string_view::npos;
         bar = codePage.find(rest, '|')) {
        FilterEntry entry{std::string(rest.substr(0, bar)), {}};
        rest.remove_prefix(bar + 1);
        const std::size_t maskEnd = codePage.find(rest, '|');
        entry.mask = std::string(rest.substr(0, maskEnd));
        rest.remove_prefix(maskEnd == std::string_view::npos ? rest.size() : maskEnd + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

TFilterComboBox::TFilterComboBox(QWidget* parent)
    : QComboBox(parent),
      m_filter(platform::encodeText(QString::fromUtf8(kDefaultFilter).toStdU16String(),
                                    platform::CodePage::system())) {
    setEditable(false);
    rebuildEntries();
    // activated() fires only for the user's picks, the one change the list reports.
    connect(this, &QComboBox::activated, this, [this] { Q_EMIT OnChange(); });
}

void TFilterComboBox::setFilter(std::string filter) {
    m_filter = std::move(filter);
    rebuildEntries();
    Q_EMIT OnChange();
}

std::string TFilterComboBox::selectedMask() {
    if (m_entries.empty())
        return "*.*";
    if (currentIndex() < 0)
        setCurrentIndex(count() - 1);
    return m_entries[static_cast<std::size_t>(currentIndex())].mask;
}

void TFilterComboBox::rebuildEntries() {
    const platform::CodePage codePage = platform::CodePage::system();
    m_entries = parseFilterString(m_filter, codePage);
    clear();
    for (const FilterEntry& entry : m_entries)
        addItem(QString::fromStdU16String(platform::decodeText(entry.text, codePage)));
    if (!m_entries.empty())
        setCurrentIndex(0);
}

} // namespace ordinalette::app
