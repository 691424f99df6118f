// The settings file of the main window: reading it into the naming controls at start-up and
// writing them back when the window closes.
#include "form/t_form1.h"
#include "platform/integer_text.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"

#include <stdexcept>
#include <utility>

namespace ordinalette::form {

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
        applyOrFallBack(
            [&] { m_controls.setControlValue(Control::SpinEdit1, integerOrThrow(value)); },
            [&] { m_controls.setControlValue(Control::SpinEdit1, kStartFolderKetasu); });
    }
    if (const std::string value = document.value("Charactor"); !value.empty()) {
        changeControl([this] { m_controls.setControlChecked(Control::CheckBox1, true); });
        m_loadedSeparator = value;
        changeControl([&] {
            m_controls.setControlText(Control::Edit1, platform::decodeText(value, m_codePage));
        });
    }
    if (document.value("Auto") == "False") {
        changeControl([this] { m_controls.setControlChecked(Control::RadioButton2, true); });
        if (const std::string value = document.value("RenbanKetasu"); !value.empty()) {
            applyOrFallBack(
                [&] { m_controls.setControlValue(Control::SpinEdit2, integerOrThrow(value)); },
                [this] {
                    changeControl(
                        [this] { m_controls.setControlChecked(Control::RadioButton1, true); });
                    m_controls.setControlValue(Control::SpinEdit2, Ketasu);
                });
        }
    }
    if (const std::string value = document.value("Kakuchoushi"); !value.empty()) {
        applyOrFallBack(
            [&] {
                // A number outside the three cases changes nothing.
                if (const std::int32_t index = integerOrThrow(value); index >= 0 && index <= 2)
                    m_controls.setControlValue(Control::RadioGroup1, index);
            },
            [&] { m_controls.setControlValue(Control::RadioGroup1, 0); });
    }
}

std::string TForm1::separatorBytes() const {
    const std::u16string shown = m_controls.controlText(Control::Edit1);
    if (!m_loadedSeparator.empty() && shown == platform::decodeText(m_loadedSeparator, m_codePage))
        return m_loadedSeparator;
    return platform::encodeText(shown, m_codePage);
}

void TForm1::SaveSettings() {
    // Where the start-up directory could not be read there is no place of the file to write.
    if (IniDir.empty())
        return;
    settings::StoredSettings stored;
    stored.folderKetasu = m_controls.controlValue(Control::SpinEdit1);
    stored.charactor = separatorBytes();
    stored.automaticDigits = m_controls.controlChecked(Control::RadioButton1);
    stored.renbanKetasu = m_controls.controlValue(Control::SpinEdit2);
    stored.kakuchoushi = m_controls.controlValue(Control::RadioGroup1);
    settings::writeSettingsFile(m_fileSystem, settings::settingsFilePath(IniDir),
                                settings::formatSettings(stored));
}

} // namespace ordinalette::form
