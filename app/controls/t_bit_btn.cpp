#include "app/controls/t_bit_btn.h"

#include "app/images.h"

#include <QBitmap>
#include <QIcon>
#include <QImage>

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
}

void TBitBtn::SetKind(Kind kind) {
    m_kind = kind;
    setDefault(kind == Kind::Ok);
    if (kind == Kind::Ok)
        SetGlyph(images::bbok());
    else if (kind == Kind::Cancel)
        SetGlyph(images::bbcancel());
}

void TBitBtn::SetGlyph(const QPixmap& glyph) {
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
