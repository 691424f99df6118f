#pragma once

class QTranslator;

namespace ordinalette::app {

// Loads Qt's own Japanese texts (the fields' context menus, the standard buttons) into the
// translator and installs it, whatever the user's locale, so that they match the window. False,
// and Qt's texts stay English, where the translation is not installed; the program runs either
// way. The translator must live as long as the texts are used.
bool installQtJapanese(QTranslator& translator);

} // namespace ordinalette::app
