#include "app/controls/t_bit_btn.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_spin_edit.h"
#include "app/error_box.h"
#include "app/message_dialog.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "foldertree/t_shell_tree_view.h"
#include "testsupport/fault_injecting_file_system.h"

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

} // namespace
} // namespace ordinalette::app
