#include "app/dialog_caption.h"

#include <QApplication>
#include <QFontMetrics>
#include <QSpacerItem>
#include <QStyle>
#include <QWidget>

namespace ordinalette::app {

QSpacerItem* captionSpacer(const QWidget* dialog) {
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    // The window-menu icon on one side, minimise, maximise and close on the other.
    constexpr int kFrameItemsPerSide = 3;
    const int frameItem = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
    const int width = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) +
                      2 * kFrameItemsPerSide * frameItem;
    return new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
}

} // namespace ordinalette::app
