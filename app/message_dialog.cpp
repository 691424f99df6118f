#include "app/message_dialog.h"

#include "app/dialog_caption.h"
#include "form/message_caption.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace ordinalette::app {

namespace {

struct ButtonInfo {
    MsgDlgBtn button;
    const char* caption;
    int result;
};

// In the order of placement.
constexpr ButtonInfo kButtons[] = {
    {MsgDlgBtn::Yes, "はい(&Y)", kResultYes},
    {MsgDlgBtn::No, "いいえ(&N)", kResultNo},
    {MsgDlgBtn::Ok, "OK", kResultOk},
    {MsgDlgBtn::Cancel, "キャンセル", kResultCancel},
    {MsgDlgBtn::Abort, "中止(&A)", kResultAbort},
    {MsgDlgBtn::Retry, "再試行(&R)", kResultRetry},
    {MsgDlgBtn::Ignore, "無視(&I)", kResultIgnore},
    {MsgDlgBtn::All, "すべて(&A)", kResultAll},
    {MsgDlgBtn::NoToAll, "すべていいえ(&O)", kResultNoToAll},
    {MsgDlgBtn::YesToAll, "すべてはい(&A)", kResultYesToAll},
    {MsgDlgBtn::Help, "ヘルプ(&H)", kResultNone},
};

QString captionOf(MsgDlgType type) {
    const char* caption = form::messageCaption(type);
    return caption ? QString::fromUtf8(caption) : QCoreApplication::applicationName();
}

QIcon iconOf(MsgDlgType type, const QStyle* style) {
    switch (type) {
    case MsgDlgType::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case MsgDlgType::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case MsgDlgType::Information:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case MsgDlgType::Confirmation:
        return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case MsgDlgType::Custom:
        break;
    }
    return {};
}

// The asked standard buttons in their order of placement. Enter presses OK, else Yes, else
// Retry; Escape presses Cancel, else No, else OK.
std::vector<DialogButton> standardButtons(std::initializer_list<MsgDlgBtn> asked) {
    const auto isAsked = [&](MsgDlgBtn button) {
        return std::find(asked.begin(), asked.end(), button) != asked.end();
    };
    const auto firstAsked = [&](std::initializer_list<MsgDlgBtn> candidates) {
        const auto found = std::find_if(candidates.begin(), candidates.end(), isAsked);
        return found == candidates.end() ? std::optional<MsgDlgBtn>() : *found;
    };
    const auto defaultButton = firstAsked({MsgDlgBtn::Ok, MsgDlgBtn::Yes, MsgDlgBtn::Retry});
    const auto cancelButton = firstAsked({MsgDlgBtn::Cancel, MsgDlgBtn::No, MsgDlgBtn::Ok});
    std::vector<DialogButton> buttons;
    for (const ButtonInfo& info : kButtons) {
        if (isAsked(info.button))
            buttons.push_back({QString::fromUtf8(info.caption).toStdU16String(), info.result,
                               info.button == defaultButton, info.button == cancelButton});
    }
    return buttons;
}

} // namespace

MessageDialog::MessageDialog(const QString& message, MsgDlgType type,
                             std::initializer_list<MsgDlgBtn> buttons, QWidget* parent)
    : MessageDialog(message, type, standardButtons(buttons), {}, parent) {
    auto placed = m_row.begin();
    for (const ButtonInfo& info : kButtons) {
        if (std::find(buttons.begin(), buttons.end(), info.button) != buttons.end())
            m_buttons[info.button] = *placed++;
    }
}

MessageDialog::MessageDialog(const QString& message, MsgDlgType type,
                             const std::vector<DialogButton>& buttons, const QString& caption,
                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption.isEmpty() ? captionOf(type) : caption);
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* row = new QHBoxLayout;
    if (const QIcon icon = iconOf(type, style()); !icon.isNull()) {
        auto* iconLabel = new QLabel;
        iconLabel->setPixmap(icon.pixmap(32, 32));
        iconLabel->setAlignment(Qt::AlignTop);
        row->addWidget(iconLabel);
    }
    auto* text = new QLabel(message);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    const QScreen* screen = QApplication::primaryScreen();
    const int wrapWidth = screen ? screen->geometry().width() / 2 : 512;
    // A label that may wrap lays itself out narrow; give it the width its text needs, up to
    // half the screen, so a short message stays on one line.
    const QRect needed =
        text->fontMetrics().boundingRect(QRect(0, 0, wrapWidth, 0), Qt::TextWordWrap, message);
    text->setMinimumWidth(std::min(needed.width() + 1, wrapWidth));
    text->setMaximumWidth(wrapWidth);
    text->setObjectName("message");
    row->addWidget(text, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (const DialogButton& info : buttons) {
        auto* button = new QPushButton(QString::fromStdU16String(info.caption));
        const int result = info.result;
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        buttonRow->addWidget(button);
        m_row.push_back(button);
        // Enter presses the focused button, as in the platform's own dialogs; the default
        // button takes it only while no button has the focus.
        button->setAutoDefault(true);
        if (info.isDefault)
            m_default = button;
        if (info.isCancel)
            m_cancel = button;
    }
    buttonRow->addStretch();

    if (m_default) {
        m_default->setDefault(true);
        m_default->setFocus();
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttonRow);
    layout->addItem(captionSpacer(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    if (screen)
        move(screen->geometry().center() - rect().center());
}

QPushButton* MessageDialog::button(MsgDlgBtn which) const {
    const auto found = m_buttons.find(which);
    return found == m_buttons.end() ? nullptr : found->second;
}

void MessageDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_cancel)
            m_cancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MessageDialog::reject() {
    done(kResultCancel);
}

int messageDlg(const QString& message, MsgDlgType type, std::initializer_list<MsgDlgBtn> buttons) {
    MessageDialog dialog(message, type, buttons, QApplication::activeWindow());
    return dialog.exec();
}

int messageDlg(const QString& message, MsgDlgType type, const std::vector<DialogButton>& buttons,
               const QString& caption) {
    MessageDialog dialog(message, type, buttons, caption, QApplication::activeWindow());
    return dialog.exec();
}

} // namespace ordinalette::app
