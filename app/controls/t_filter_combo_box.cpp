#include "app/controls/t_filter_combo_box.h"

#include "platform/text_services.h"

namespace ordinalette::app {

TFilterComboBox::TFilterComboBox(platform::CodePage codePage, QWidget* parent)
    : QComboBox(parent), m_codePage(std::move(codePage)),
      m_filter(platform::encodeText(QString::fromUtf8(form::kDefaultFilter).toStdU16String(),
                                    m_codePage)) {
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
    m_entries = form::parseFilterString(m_filter, m_codePage);
    clear();
    for (const form::FilterEntry& entry : m_entries)
        addItem(QString::fromStdU16String(platform::decodeText(entry.text, m_codePage)));
    if (!m_entries.empty())
        setCurrentIndex(0);
}

} // namespace ordinalette::app
