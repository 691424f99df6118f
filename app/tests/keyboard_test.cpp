#include "app/controls/t_bit_btn.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/t_form1.h"
#include "app/tests/dialog_helpers.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace ordinalette::app {
namespace {

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixture.showActive()); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        // After a dialog has closed the window is made active again.
        if (!QApplication::focusWidget()) {
            EXPECT_TRUE(fixture.showActive());
        }
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    QWidget* focused() const { return QApplication::focusWidget(); }

    testing::FormFixture fixture;
    TForm1& form = fixture.form;
};

TEST_F(Keyboard, StartHasTheFocusFirstAndTabCyclesOverTheTabStops) {
    EXPECT_EQ(focused(), form.BitBtn1);
    const std::vector<QWidget*> cycle = {form.BitBtn2, form.RadioButton1,
                                         form.RadioGroup1->button(0), form.BitBtn1};
    for (QWidget* next : cycle) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), next) << next->objectName().toStdString();
    }
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), form.RadioGroup1->button(0));

    // The checked radio button of each set is the tab stop; a click elsewhere starts from there.
    form.RadioButton2->setChecked(true);
    form.RadioGroup1->SetItemIndex(2);
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton);
    EXPECT_EQ(focused(), form.ListBox1);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), form.RadioButton2);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), form.RadioGroup1->button(2));
}

TEST_F(Keyboard, ArrowsMoveAmongTheControlsOfOneParentAndCheckRadioButtons) {
    form.BitBtn2->setFocus();
    press(Qt::Key_Right);
    EXPECT_EQ(focused(), form.ShellTreeView1);

    form.RadioButton1->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), form.RadioButton2);
    EXPECT_TRUE(form.RadioButton2->isChecked());
    EXPECT_TRUE(form.SpinEdit2->isEnabled()); // its click handler ran
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), form.RadioButton1);
    EXPECT_TRUE(form.RadioButton1->isChecked());

    form.RadioGroup1->button(0)->setFocus();
    press(Qt::Key_Up);
    EXPECT_EQ(focused(), form.RadioGroup1->button(2));
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 2);

    // The check box walks its parent's controls in tab order: the spin edit before it.
    form.CheckBox1->setFocus();
    press(Qt::Key_Left);
    EXPECT_EQ(focused(), form.SpinEdit1);
}

TEST_F(Keyboard, EnterPressesTheDefaultOrTheFocusedButtonAndEscapeTheCancelButton) {
    QSignalSpy start(form.BitBtn1, &QAbstractButton::clicked);
    QSignalSpy end(form.BitBtn2, &QAbstractButton::clicked);

    form.CheckBox1->setChecked(true);
    form.Edit1->setFocus();
    // The list of the start folder is empty, so Start says so in a dialog.
    testing::whenModalOpens([](QWidget* dialog) { dialog->close(); });
    press(Qt::Key_Return);
    EXPECT_EQ(start.count(), 1);
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(start.count(), 1);

    form.SpinEdit1->setFocus();
    press(Qt::Key_Return);
    press(Qt::Key_Escape);
    EXPECT_EQ(start.count(), 1);
    EXPECT_EQ(end.count(), 0);
    EXPECT_TRUE(form.isVisible());

    form.BitBtn2->setFocus();
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(end.count(), 1);
    EXPECT_EQ(start.count(), 1);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Keyboard, EscapeOnTheFileListClosesTheWindow) {
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton);
    press(Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Keyboard, CtrlZInAnEditableFieldUndoesItsTypingAndAsksNothing) {
    QStringList asked;
    testing::EveryModal answer([&](QWidget* dialog) {
        asked << dialog->windowTitle();
        dialog->close();
    });
    form.CheckBox1->setChecked(true);
    form.RadioButton2->setChecked(true);
    for (QLineEdit* field : {static_cast<QLineEdit*>(form.SpinEdit1),
                             static_cast<QLineEdit*>(form.SpinEdit2), form.Edit1}) {
        const QString before = field->text();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, "7");
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(field->text(), before) << field->objectName().toStdString();
    }
    EXPECT_EQ(asked, QStringList());
}

} // namespace
} // namespace ordinalette::app
