#include "app/controls/t_label.h"

namespace ordinalette::app {

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void TLabel::setCaption(const QString& caption) {
    setText(caption);
    resize(sizeHint());
}

} // namespace ordinalette::app
