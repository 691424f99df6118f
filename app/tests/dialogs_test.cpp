#include "app/error_box.h"
#include "app/message_dialog.h"
#include "app/tests/dialog_helpers.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace ordinalette::app {
namespace {

using testing::whenModalOpens;

QStringList buttonTexts(const QWidget* dialog) {
    QStringList texts;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

TEST(MessageDialog, KindGivesCaptionAndButtonsComeInTheirFixedOrder) {
    MessageDialog error(QString::fromUtf8("ファイルが存在しません"), MsgDlgType::Error,
                        {MsgDlgBtn::Ok});
    EXPECT_EQ(error.windowTitle(), QString::fromUtf8("エラー"));
    EXPECT_EQ(buttonTexts(&error), QStringList{"OK"});
    EXPECT_EQ(error.defaultButton(), error.button(MsgDlgBtn::Ok));
    EXPECT_EQ(error.cancelButton(), error.button(MsgDlgBtn::Ok));

    MessageDialog all("?", MsgDlgType::Confirmation,
                      {MsgDlgBtn::Help, MsgDlgBtn::Cancel, MsgDlgBtn::No, MsgDlgBtn::Yes});
    EXPECT_EQ(all.windowTitle(), QString::fromUtf8("確認"));
    EXPECT_EQ(buttonTexts(&all),
              (QStringList{QString::fromUtf8("はい(&Y)"), QString::fromUtf8("いいえ(&N)"),
                           QString::fromUtf8("キャンセル"), QString::fromUtf8("ヘルプ(&H)")}));
    EXPECT_EQ(all.defaultButton(), all.button(MsgDlgBtn::Yes));
    EXPECT_EQ(all.cancelButton(), all.button(MsgDlgBtn::Cancel));

    EXPECT_EQ(MessageDialog("", MsgDlgType::Warning, {}).windowTitle(), QString::fromUtf8("警告"));
    EXPECT_EQ(MessageDialog("", MsgDlgType::Information, {}).windowTitle(),
              QString::fromUtf8("情報"));
    EXPECT_EQ(MessageDialog("", MsgDlgType::Custom, {}).windowTitle(), "Ordinalette");
    MessageDialog retry("", MsgDlgType::Error, {MsgDlgBtn::Abort, MsgDlgBtn::Retry});
    EXPECT_EQ(retry.defaultButton(), retry.button(MsgDlgBtn::Retry));
    EXPECT_EQ(retry.cancelButton(), nullptr);
}

TEST(MessageDialog, ButtonsEnterEscapeAndTheCloseBoxGiveTheirResults) {
    whenModalOpens([](QWidget* dialog) {
        static_cast<MessageDialog*>(dialog)->button(MsgDlgBtn::No)->click();
    });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Confirmation, {MsgDlgBtn::Yes, MsgDlgBtn::No}),
              kResultNo);

    whenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Confirmation, {MsgDlgBtn::Yes, MsgDlgBtn::No}),
              kResultNo);

    whenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Confirmation, {MsgDlgBtn::Yes, MsgDlgBtn::No}),
              kResultYes);

    whenModalOpens([](QWidget* dialog) { dialog->close(); });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Confirmation, {MsgDlgBtn::Yes, MsgDlgBtn::No}),
              kResultCancel);
}

TEST(MessageDialog, ButtonsOfItsOwnKeepTheirOrderResultsKeysAndACaptionOfItsOwn) {
    const std::vector<DialogButton> buttons = {
        {u"続ける", 100, true, false},
        {u"元に戻す", 101, false, false},
        {u"後で", kResultCancel, false, true},
    };
    MessageDialog own("?", MsgDlgType::Information, buttons, "Ordinalette");
    EXPECT_EQ(own.windowTitle(), "Ordinalette");
    EXPECT_EQ(buttonTexts(&own),
              (QStringList{QString::fromUtf8("続ける"), QString::fromUtf8("元に戻す"),
                           QString::fromUtf8("後で")}));
    EXPECT_EQ(own.defaultButton()->text(), QString::fromUtf8("続ける"));
    EXPECT_EQ(own.cancelButton()->text(), QString::fromUtf8("後で"));
    EXPECT_EQ(MessageDialog("?", MsgDlgType::Information, buttons).windowTitle(),
              QString::fromUtf8("情報"));

    whenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Information, buttons), 100);
    whenModalOpens([](QWidget* dialog) {
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QString::fromUtf8("元に戻す"))
                button->click();
        }
    });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Information, buttons), 101);
    whenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(messageDlg("?", MsgDlgType::Information, buttons), kResultCancel);
}

TEST(MessageDialog, EnterPressesTheFocusedButton) {
    const std::vector<DialogButton> buttons = {
        {u"続ける", 100, true, false},
        {u"元に戻す", 101, false, false},
        {u"後で", kResultCancel, false, true},
    };
    const auto tabThenEnter = [](QWidget* dialog) {
        // The focus is the active window's: the dialog takes it once the platform activates it.
        if (!QTest::qWaitForWindowActive(dialog)) {
            ADD_FAILURE() << "the dialog never became active";
            dialog->close();
            return;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    };
    whenModalOpens(tabThenEnter);
    EXPECT_EQ(messageDlg("?", MsgDlgType::Information, buttons), 101);
    whenModalOpens(tabThenEnter);
    EXPECT_EQ(messageDlg("?", MsgDlgType::Confirmation, {MsgDlgBtn::Yes, MsgDlgBtn::No}),
              kResultNo);
}

TEST(MessageDialog, LongTextWrapsAtHalfTheScreenWidth) {
    MessageDialog dialog(QString(400, u'x') + " " + QString(400, u'y'), MsgDlgType::Error,
                         {MsgDlgBtn::Ok});
    const auto* text = dialog.findChild<QLabel*>("message");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->wordWrap());
    EXPECT_LE(text->maximumWidth(), QApplication::primaryScreen()->geometry().width() / 2);
}

TEST(MessageDialog, AShortTextStaysOnOneLine) {
    // Japanese text has a break opportunity between any two characters; a short message must
    // still not be broken up when there is room for it.
    MessageDialog dialog(QString::fromUtf8("ファイルが存在しません"), MsgDlgType::Error,
                         {MsgDlgBtn::Ok});
    dialog.show();
    const auto* text = dialog.findChild<QLabel*>("message");
    ASSERT_NE(text, nullptr);
    EXPECT_GE(text->width(), text->fontMetrics().horizontalAdvance(text->text()));
    EXPECT_LT(text->heightForWidth(text->width()), 2 * text->fontMetrics().lineSpacing());
    dialog.close();
}

TEST(ErrorBox, ShowsTheMessageUnderTheApplicationTitleWithAStopIconAndOneOk) {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    whenModalOpens([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = buttonTexts(box);
        box->button(QMessageBox::Ok)->click();
    });
    showException(std::runtime_error("ファイルへのアクセスが拒否されました"));
    EXPECT_EQ(text, QString::fromUtf8("ファイルへのアクセスが拒否されました."));
    EXPECT_EQ(title, "Ordinalette");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QStringList{"OK"});
}

} // namespace
} // namespace ordinalette::app
