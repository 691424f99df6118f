#include "app/controls/system_color.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace ordinalette::app {

QColor resolveSystemColor(SystemColor color) {
    const QPalette palette = QApplication::palette();
    switch (color) {
    case SystemColor::Window:
        return palette.color(QPalette::Active, QPalette::Base);
    case SystemColor::InactiveCaptionText:
        // Qt has no role for the text of inactive captions; this is its light grey of the
        // classic scheme, which marks a disabled input field.
        return QColor(0xD4, 0xD0, 0xC8);
    }
    return {};
}

void setFieldColor(QWidget* field, SystemColor color) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, resolveSystemColor(color));
    field->setPalette(palette);
}

} // namespace ordinalette::app
