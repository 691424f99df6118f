#include "app/images.h"

#include "app/resources/bbcancel.xpm"
#include "app/resources/bbok.xpm"
#include "app/resources/mainicon.xpm"

namespace ordinalette::app::images {

QPixmap mainIcon() {
    return QPixmap(mainicon_xpm);
}
QPixmap bbok() {
    return QPixmap(bbok_xpm);
}
QPixmap bbcancel() {
    return QPixmap(bbcancel_xpm);
}

} // namespace ordinalette::app::images
