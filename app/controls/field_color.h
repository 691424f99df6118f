#pragma once

#include "form/system_color.h"

#include <QColor>

class QWidget;

namespace ordinalette::app {

// The colour of the palette a system colour is drawn with.
QColor resolveSystemColor(form::SystemColor color);

// Sets the background of an input field (its base colour, enabled or not).
void setFieldColor(QWidget* field, form::SystemColor color);

} // namespace ordinalette::app
