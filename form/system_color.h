#pragma once

#include <QColor>

class QWidget;

namespace ordinalette::app {

// The system colours the window's controls are painted with, resolved when drawn.
enum class SystemColor { Window, InactiveCaptionText };

QColor resolveSystemColor(SystemColor color);

// Sets the background of an input field (its base colour, enabled or not).
void setFieldColor(QWidget* field, SystemColor color);

} // namespace ordinalette::app
