#include "app/error_box.h"

#include "app/dialog_caption.h"
#include "form/error_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QWidget>

namespace ordinalette::app {

void showErrorBox(const QString& message) {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                    QString::fromStdString(form::errorBoxText(message.toStdString())),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // The OK button looks like the message dialog's: a caption without a glyph, centred.
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ok->setIcon(QIcon());
    // QMessageBox keeps its button row and its grid to itself: both are used only when this Qt
    // still builds the box from them, and a Qt that does not shows the box undecorated.
    if (auto* buttons = qobject_cast<QDialogButtonBox*>(ok->parentWidget()))
        buttons->setCenterButtons(true);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(captionSpacer(&box), grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

void showException(const std::exception& error) {
    showErrorBox(QString::fromUtf8(error.what()));
}

} // namespace ordinalette::app
