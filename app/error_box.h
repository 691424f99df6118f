#pragma once

#include <QString>
#include <exception>

namespace ordinalette::app {

// Shows an error that left a handler: modal, the application title as caption, the stop
// icon and one OK button. The program goes on afterwards.
void showErrorBox(const QString& message);
// The message of an exception is its UTF-8 what().
void showException(const std::exception& error);

} // namespace ordinalette::app
