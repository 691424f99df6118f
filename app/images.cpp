#include "app/images.h"

#include "app/resources/bbcancel.xpm"
#include "app/resources/bbok.xpm"

#include <QDir>
#include <QFileInfo>

namespace ordinalette::app::images {

QIcon mainIcon() {
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    return icon;
}
QPixmap bbok() {
    return QPixmap(bbok_xpm);
}
QPixmap bbcancel() {
    return QPixmap(bbcancel_xpm);
}

} // namespace ordinalette::app::images
