#include "app/controls/field_color.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace ordinalette::app {

namespace {

// A palette whose text is lighter than the background of its fields.
bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < palette.color(QPalette::Text).lightness();
}

} // namespace

QColor resolveSystemColor(form::SystemColor color) {
    const QPalette palette = QApplication::palette();
    switch (color) {
    case form::SystemColor::Window:
        return palette.color(QPalette::Active, QPalette::Base);
    case form::SystemColor::InactiveCaptionText:
        // Qt has no role for the text of inactive captions. A light palette takes the classic
        // scheme's light grey, which marks a disabled input field; on a dark palette that grey
        // would be a glaring box under light text, so the field takes the face of buttons.
        if (isDark(palette))
            return palette.color(QPalette::Active, QPalette::Button);
        return QColor(0xD4, 0xD0, 0xC8);
    }
    return {};
}

void setFieldColor(QWidget* field, form::SystemColor color) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, resolveSystemColor(color));
    field->setPalette(palette);
}

} // namespace ordinalette::app
