#include "app/controls/t_filter_combo_box.h"

#include "platform/text_services.h"

namespace ordinalette::app {

TFilterComboBox::TFilterComboBox(QWidget* parent)
    : QComboBox(parent),
      m_filter(platform::encodeText(QString::fromUtf8(form::kDefaultFilter).toStdU16String(),
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
    const int entry = form::entryOfMask(currentIndex(), m_entries.size());
    if (entry < 0)
        return form::kAllFilesMask;
    if (entry != currentIndex())
        setCurrentIndex(entry);
    return m_entries[static_cast<std::size_t>(entry)].mask;
}

void TFilterComboBox::rebuildEntries() {
    const platform::CodePage codePage = platform::CodePage::system();
    m_entries = form::parseFilterString(m_filter, codePage);
    clear();
    for (const form::FilterEntry& entry : m_entries)
        addItem(QString::fromStdU16String(platform::decodeText(entry.text, codePage)));
    if (!m_entries.empty())
        setCurrentIndex(0);
}

} // namespace ordinalette::app
