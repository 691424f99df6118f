// The settings file of the main window: reading it into the naming controls at start-up and
// writing them back when the window closes.
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/t_form1.h"
#include "platform/integer_text.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <stdexcept>
#include <utility>

namespace ordinalette::app {

namespace {

constexpr std::int32_t kStartFolderKetasu = 4;

std::int32_t integerOrThrow(const std::string& value) {
    const auto number = platform::parseIntegerText(value);
    if (!number)
        throw std::invalid_argument("not an integer: " + value);
    return *number;
}

} // namespace

void TForm1::applyOrFallBack(const std::function<void()>& apply,
                             const std::function<void()>& fallBack) {
    try {
        changeControl(apply);
    } catch (const std::exception&) {
        m_nestedError = nullptr;
        changeControl(fallBack);
    }
}

void TForm1::LoadSettings() {
    auto text = settings::readSettingsFile(m_fileSystem, settings::settingsFilePath(IniDir));
    if (!text)
        return;
    const settings::SettingsDocument document(*text);

    if (const std::string value = document.value("FolderKetasu"); !value.empty()) {
        applyOrFallBack([&] { SpinEdit1->SetValue(integerOrThrow(value)); },
                        [&] { SpinEdit1->SetValue(kStartFolderKetasu); });
    }
    if (const std::string value = document.value("Charactor"); !value.empty()) {
        changeControl([this] { CheckBox1->setChecked(true); });
        m_loadedSeparator = value;
        changeControl([&] {
            Edit1->setText(QString::fromStdU16String(platform::decodeText(value, m_codePage)));
        });
    }
    if (document.value("Auto") == "False") {
        changeControl([this] { RadioButton2->setChecked(true); });
        if (const std::string value = document.value("RenbanKetasu"); !value.empty()) {
            applyOrFallBack([&] { SpinEdit2->SetValue(integerOrThrow(value)); },
                            [this] {
                                changeControl([this] { RadioButton1->setChecked(true); });
                                SpinEdit2->SetValue(Ketasu);
                            });
        }
    }
    if (const std::string value = document.value("Kakuchoushi"); !value.empty()) {
        applyOrFallBack(
            [&] {
                // A number outside the three cases changes nothing.
                if (const std::int32_t index = integerOrThrow(value); index >= 0 && index <= 2)
                    RadioGroup1->SetItemIndex(index);
            },
            [&] { RadioGroup1->SetItemIndex(0); });
    }
}

std::string TForm1::separatorBytes() const {
    const std::u16string shown = Edit1->text().toStdU16String();
    if (!m_loadedSeparator.empty() && shown == platform::decodeText(m_loadedSeparator, m_codePage))
        return m_loadedSeparator;
    return platform::encodeText(shown, m_codePage);
}

void TForm1::SaveSettings() {
    // Where the start-up directory could not be read there is no place of the file to write.
    if (IniDir.empty())
        return;
    settings::StoredSettings stored;
    stored.folderKetasu = SpinEdit1->Value();
    stored.charactor = separatorBytes();
    stored.automaticDigits = RadioButton1->isChecked();
    stored.renbanKetasu = SpinEdit2->Value();
    stored.kakuchoushi = RadioGroup1->ItemIndex();
    settings::writeSettingsFile(m_fileSystem, settings::settingsFilePath(IniDir),
                                settings::formatSettings(stored));
}

} // namespace ordinalette::app
