#include "app/controls/t_bit_btn.h"

#include "app/images.h"

#include <QApplication>
#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStyleOptionButton>

namespace ordinalette::app {

namespace {

QPixmap transparentCopy(const QImage& image, QRgb transparent) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(transparent, Qt::MaskInColor)));
    return pixmap;
}

} // namespace

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    // Which button Enter presses changes with the focus anywhere in the window.
    connect(qApp, &QApplication::focusChanged, this, qOverload<>(&QWidget::update));
}

bool TBitBtn::pressedByEnter() const {
    const QWidget* focused = QApplication::focusWidget();
    if (focused && focused->window() == window() && qobject_cast<const QPushButton*>(focused))
        return focused == this;
    return isDefault();
}

void TBitBtn::initStyleOption(QStyleOptionButton* option) const {
    QPushButton::initStyleOption(option);
    option->features.setFlag(QStyleOptionButton::DefaultButton, pressedByEnter());
}

void TBitBtn::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    constexpr int kFocusInset = 3;
    QPainter painter(this);
    QPen dotted(palette().color(QPalette::ButtonText), 1);
    dotted.setDashPattern({1, 1});
    painter.setPen(dotted);
    painter.drawRect(rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
}

void TBitBtn::setKind(Kind kind) {
    m_kind = kind;
    setDefault(kind == Kind::Ok);
    if (kind == Kind::Ok)
        setGlyph(images::bbok());
    else if (kind == Kind::Cancel)
        setGlyph(images::bbcancel());
}

void TBitBtn::setGlyph(const QPixmap& glyph) {
    const QImage image = glyph.toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb transparent = image.pixel(0, image.height() - 1);
    const int side = image.height();
    QIcon icon;
    icon.addPixmap(transparentCopy(image.copy(0, 0, side, side), transparent), QIcon::Normal);
    if (image.width() >= 2 * side)
        icon.addPixmap(transparentCopy(image.copy(side, 0, side, side), transparent),
                       QIcon::Disabled);
    setIcon(icon);
    setIconSize(QSize(side, side));
}

} // namespace ordinalette::app
