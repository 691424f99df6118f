#include "app/controls/t_list_box.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace ordinalette::app {
namespace {

QAccessibleInterface* accessible(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

QString nameOf(QWidget* widget) {
    return accessible(widget)->text(QAccessible::Name);
}

TEST(Accessibility, ControlsAreNamedByTheirCaptionsAndTheBarsTellWhatTheyShow) {
    testing::FormFixture fixture;
    TForm1& form = fixture.form;
    EXPECT_EQ(nameOf(form.ShellTreeView1), QString::fromUtf8("フォルダ"));
    EXPECT_EQ(nameOf(form.ListBox1), QString::fromUtf8("ファイル"));
    EXPECT_EQ(nameOf(form.SpinEdit1), QString::fromUtf8("ﾌｫﾙﾀﾞからの添付桁数"));
    EXPECT_EQ(nameOf(form.Edit1), QString::fromUtf8("区切り文字"));
    EXPECT_EQ(nameOf(form.SpinEdit2), QString::fromUtf8("桁数指定"));
    EXPECT_EQ(nameOf(form.GroupBox1), QString::fromUtf8("ファイル名の設定"));
    EXPECT_EQ(nameOf(form.GroupBox2), QString::fromUtf8("連番の桁数の設定"));
    EXPECT_EQ(nameOf(form.RadioGroup1), QString::fromUtf8("拡張子"));

    QAccessibleInterface* status = accessible(form.StatusBar1);
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_FALSE(form.StatusBar1->simpleText().isEmpty());
    EXPECT_EQ(status->text(QAccessible::Name), form.StatusBar1->simpleText());

    form.ProgressBar1->setMax(40);
    form.ProgressBar1->setPosition(10);
    QAccessibleInterface* bar = accessible(form.ProgressBar1);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface* value = bar->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 10);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 40);
}

} // namespace
} // namespace ordinalette::app
