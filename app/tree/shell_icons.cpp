#include "app/tree/shell_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace ordinalette::foldertree {

namespace {

struct IconNames {
    const char* theme;
    const char* openTheme;
    QStyle::StandardPixmap fallback;
    QStyle::StandardPixmap openFallback;
};

IconNames namesOf(TShItemIDType type) {
    switch (type) {
    case TShItemIDType::itDeskTop:
        return {"user-desktop", "user-desktop", QStyle::SP_DesktopIcon, QStyle::SP_DesktopIcon};
    case TShItemIDType::itMyComputer:
        return {"computer", "computer", QStyle::SP_ComputerIcon, QStyle::SP_ComputerIcon};
    case TShItemIDType::itRootDrive:
        return {"drive-harddisk", "drive-harddisk", QStyle::SP_DriveHDIcon, QStyle::SP_DriveHDIcon};
    case TShItemIDType::itBitBucket:
        return {"user-trash", "user-trash", QStyle::SP_TrashIcon, QStyle::SP_TrashIcon};
    case TShItemIDType::itNetWork:
        return {"network-workgroup", "network-workgroup", QStyle::SP_DriveNetIcon,
                QStyle::SP_DriveNetIcon};
    case TShItemIDType::itFile:
        return {"text-x-generic", "text-x-generic", QStyle::SP_FileIcon, QStyle::SP_FileIcon};
    default:
        return {"folder", "folder-open", QStyle::SP_DirIcon, QStyle::SP_DirOpenIcon};
    }
}

// A small arrow in a white box, the usual sign of a link where the theme has no emblem.
QPixmap drawnLinkArrow(int size) {
    QPixmap arrow(size, size);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    QPainterPath path;
    path.moveTo(size * 0.25, size * 0.8);
    path.quadTo(size * 0.25, size * 0.35, size * 0.7, size * 0.35);
    painter.drawPath(path);
    painter.setBrush(Qt::black);
    painter.drawPolygon(
        QPolygonF({QPointF(size * 0.55, size * 0.15), QPointF(size * 0.85, size * 0.35),
                   QPointF(size * 0.55, size * 0.55)}));
    return arrow;
}

} // namespace

QIcon shellIcon(TShItemIDType type, bool open, const QStyle& style) {
    const IconNames names = namesOf(type);
    return QIcon::fromTheme(QString::fromLatin1(open ? names.openTheme : names.theme),
                            style.standardIcon(open ? names.openFallback : names.fallback));
}

QIcon withLinkOverlay(const QIcon& icon, int size) {
    QPixmap pixmap = icon.pixmap(size, size);
    const int emblemSize = std::max(6, size / 2);
    const QIcon emblem = QIcon::fromTheme(QStringLiteral("emblem-symbolic-link"));
    const QPixmap overlay =
        emblem.isNull() ? drawnLinkArrow(emblemSize) : emblem.pixmap(emblemSize, emblemSize);
    QPainter painter(&pixmap);
    painter.drawPixmap(0, pixmap.height() / pixmap.devicePixelRatio() - emblemSize, overlay);
    painter.end();
    return QIcon(pixmap);
}

} // namespace ordinalette::foldertree
