#include "app/controls/t_bit_btn.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_spin_edit.h"
#include "app/error_box.h"
#include "app/message_dialog.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"
#include "testsupport/fault_injecting_file_system.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <vector>

namespace ordinalette::app {
namespace {

using testing::whenModalOpens;
using Operation = testsupport::FaultInjectingFileSystem::Operation;

QImage picture(QWidget* widget) {
    return widget->grab().toImage();
}

TEST(WindowLook, TheButtonEnterPressesIsDrawnAsDefaultAndAFocusedButtonShowsItsFocus) {
    testing::FormFixture fixture;
    ASSERT_TRUE(fixture.showActive());
    TForm1& form = fixture.form;
    form.ListBox1->setFocus(Qt::MouseFocusReason);
    const QImage startAsDefault = picture(form.BitBtn1);
    const QImage endUnfocused = picture(form.BitBtn2);

    form.BitBtn1->setFocus(Qt::OtherFocusReason); // as at start-up, without a key
    EXPECT_NE(picture(form.BitBtn1), startAsDefault) << "Start shows that it has the focus";
    EXPECT_EQ(picture(form.BitBtn2), endUnfocused);

    form.BitBtn2->setFocus(Qt::MouseFocusReason);
    EXPECT_NE(picture(form.BitBtn2), endUnfocused) << "End shows that it has the focus";
    EXPECT_NE(picture(form.BitBtn1), startAsDefault) << "Enter no longer presses Start";

    form.ListBox1->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(picture(form.BitBtn1), startAsDefault);
    EXPECT_EQ(picture(form.BitBtn2), endUnfocused);
}

// Sets the application's palette while it lives.
class ApplicationPalette {
public:
    explicit ApplicationPalette(const QPalette& palette) : m_previous(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~ApplicationPalette() { QApplication::setPalette(m_previous); }
    ApplicationPalette(const ApplicationPalette&) = delete;
    ApplicationPalette& operator=(const ApplicationPalette&) = delete;

private:
    QPalette m_previous;
};

QPalette darkPalette() {
    QPalette palette;
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, QColor(0xEE, 0xEE, 0xEE));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    return palette;
}

QColor fieldColor(const QWidget* field) {
    return field->palette().color(QPalette::Base);
}

TEST(WindowLook, DisabledFieldsAreClassicGreyOnALightPaletteAndTheButtonFaceOnADarkOne) {
    {
        testing::FormFixture fixture;
        EXPECT_EQ(fieldColor(fixture.form.Edit1), QColor(0xD4, 0xD0, 0xC8));
        EXPECT_EQ(fieldColor(fixture.form.SpinEdit2), QColor(0xD4, 0xD0, 0xC8));
    }
    const QPalette dark = darkPalette();
    const ApplicationPalette applied(dark);
    testing::FormFixture fixture;
    TForm1& form = fixture.form;
    EXPECT_EQ(fieldColor(form.Edit1), dark.color(QPalette::Button));
    EXPECT_EQ(fieldColor(form.SpinEdit2), dark.color(QPalette::Button));
    EXPECT_EQ(fieldColor(form.SpinEdit1), dark.color(QPalette::Base));
    form.RadioButton2->setChecked(true);
    EXPECT_EQ(fieldColor(form.SpinEdit2), dark.color(QPalette::Base));
    form.RadioButton1->setChecked(true);
    EXPECT_EQ(fieldColor(form.SpinEdit2), dark.color(QPalette::Button));
}

// The real file system, noting the mouse pointer the program shows at every move of a file.
class CursorWatchingFileSystem : public testsupport::FaultInjectingFileSystem {
public:
    using FaultInjectingFileSystem::FaultInjectingFileSystem;

    int moveFile(const platform::DirectoryHandle& fromFolder, std::string_view fromName,
                 const platform::DirectoryHandle& toFolder, std::string_view toName) override {
        cursors.push_back(shownCursor());
        return FaultInjectingFileSystem::moveFile(fromFolder, fromName, toFolder, toName);
    }

    // The override cursor, or nothing when the windows show their own.
    static std::optional<Qt::CursorShape> shownCursor() {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor ? std::optional(cursor->shape()) : std::nullopt;
    }

    std::vector<std::optional<Qt::CursorShape>> cursors;
};

TEST(WindowLook, TheMousePointerIsBusyDuringARunAndComesBackAfterItAndAfterAFailure) {
    CursorWatchingFileSystem files(platform::systemFileSystem());
    testing::FormFixture fixture(files);
    ASSERT_TRUE(fixture.showActive());
    TForm1& form = fixture.form;
    fixture.names.dir().makeDir("d/Summer");
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        fixture.names.dir().writeFile(std::string("d/Summer/") + name);
    form.ShellTreeView1->SetPath(fixture.names.drive("d") + "/Summer");

    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    ASSERT_EQ(files.cursors.size(), 6u);
    for (const auto& cursor : files.cursors)
        EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(CursorWatchingFileSystem::shownCursor(), std::nullopt);

    // An undo is a run of its own: busy while its files move, not over its question.
    files.cursors.clear();
    std::optional<Qt::CursorShape> cursorOverQuestion = Qt::WaitCursor;
    whenModalOpens([&](QWidget* dialog) {
        cursorOverQuestion = CursorWatchingFileSystem::shownCursor();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(form.ListBox1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.ListBox1->items(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    ASSERT_EQ(files.cursors.size(), 6u);
    for (const auto& cursor : files.cursors)
        EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(cursorOverQuestion, std::nullopt);
    EXPECT_EQ(CursorWatchingFileSystem::shownCursor(), std::nullopt);

    files.cursors.clear();
    files.failCall(Operation::MoveFile, files.calls(Operation::MoveFile) + 2,
                   platform::error::AccessDenied);
    // The error box, then the question about the interrupted run, answered with "後で".
    std::vector<std::optional<Qt::CursorShape>> cursorsOverDialogs;
    {
        const testing::EveryModal answer([&](QWidget* dialog) {
            cursorsOverDialogs.push_back(CursorWatchingFileSystem::shownCursor());
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                box->button(QMessageBox::Ok)->click();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    }
    EXPECT_EQ(files.cursors, (std::vector<std::optional<Qt::CursorShape>>(2, Qt::WaitCursor)));
    EXPECT_EQ(cursorsOverDialogs, (std::vector<std::optional<Qt::CursorShape>>(2, std::nullopt)));
    EXPECT_EQ(CursorWatchingFileSystem::shownCursor(), std::nullopt);
}

// The width the frame needs for a caption: the caption in bold with the frame's icon and three
// buttons on either side.
int widthForCaption(const QWidget* dialog) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(dialog->windowTitle()) +
           6 * dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
}

TEST(DialogLook, ShortMessagesLeaveRoomForTheCaptionAndOkIsTheSameButtonInBothBoxes) {
    int errorBoxWidth = 0, errorBoxNeeds = 0;
    bool errorOkHasGlyph = true, errorOkCentred = false;
    whenModalOpens([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        errorBoxWidth = box->width();
        errorBoxNeeds = widthForCaption(box);
        errorOkHasGlyph = !box->button(QMessageBox::Ok)->icon().isNull();
        errorOkCentred = box->findChild<QDialogButtonBox*>()->centerButtons();
        box->button(QMessageBox::Ok)->click();
    });
    showException(std::runtime_error("I/O エラー (183)"));
    EXPECT_GE(errorBoxWidth, errorBoxNeeds);
    EXPECT_FALSE(errorOkHasGlyph);
    EXPECT_TRUE(errorOkCentred);

    MessageDialog dialog(QString::fromUtf8("?"), MsgDlgType::Custom, {MsgDlgBtn::Ok});
    dialog.show();
    EXPECT_GE(dialog.width(), widthForCaption(&dialog));
    EXPECT_TRUE(dialog.button(MsgDlgBtn::Ok)->icon().isNull());
    dialog.close();
}

} // namespace
} // namespace ordinalette::app
