#include "app/controls/field_color.h"
#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_progress_bar.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/controls/t_status_bar.h"
#include "app/t_form1.h"
#include "app/tests/form_fixture.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace ordinalette::app {
namespace {

struct Expected {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* text;
};

QString textOf(QWidget* widget) {
    if (auto* label = qobject_cast<TLabel*>(widget))
        return label->caption();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    return {};
}

TEST(FormLayout, EveryControlSitsInItsParentWithItsGeometryAndText) {
    const Expected table[] = {
        {"ShellTreeView1", "Form1", {8, 8, 201, 393}, ""},
        {"ListBox1", "Form1", {216, 8, 217, 409}, ""},
        {"StatusBar1", "Form1", {0, 422, 616, 25}, ""},
        {"GroupBox1", "Form1", {440, 8, 169, 329}, "ファイル名の設定"},
        {"Label1", "GroupBox1", {16, 24, -1, -1}, "ﾌｫﾙﾀﾞからの"},
        {"Label2", "GroupBox1", {32, 40, -1, -1}, "添付桁数"},
        {"Label3", "GroupBox1", {16, 304, -1, -1}, ""},
        {"GroupBox2", "GroupBox1", {8, 96, 153, 81}, "連番の桁数の設定"},
        {"RadioButton1", "GroupBox2", {8, 24, 65, 17}, "自動設定"},
        {"RadioButton2", "GroupBox2", {8, 52, 73, 17}, "桁数指定"},
        {"SpinEdit1", "GroupBox1", {96, 32, 57, 21}, "4"},
        {"Edit1", "GroupBox1", {96, 64, 57, 20}, ""},
        {"CheckBox1", "GroupBox1", {16, 64, 73, 25}, "区切り文字"},
        {"SpinEdit2", "GroupBox1", {96, 144, 57, 21}, "0"},
        {"RadioGroup1", "GroupBox1", {8, 184, 153, 73}, "拡張子"},
        {"BitBtn1", "Form1", {448, 368, 75, 25}, "Start"},
        {"BitBtn2", "Form1", {528, 368, 75, 25}, "End"},
        {"FilterComboBox1", "Form1", {8, 400, 201, 20}, "すべてのファイル (*.*)"},
        {"ProgressBar1", "Form1", {440, 400, 169, 16}, ""},
    };
    testing::FormFixture fixture;
    TForm1& form = fixture.form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Ordinalette  Ver0.11"));
    EXPECT_EQ(form.size(), QSize(616, 447));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.pos(), QPoint(204, 55));
    for (const Expected& row : table) {
        SCOPED_TRACE(row.name);
        auto* widget = form.findChild<QWidget*>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), row.parent);
        EXPECT_EQ(widget->pos(), row.geometry.topLeft());
        if (row.geometry.width() >= 0)
            EXPECT_EQ(widget->size(), row.geometry.size());
        else // labels size themselves to their one line of text
            EXPECT_EQ(widget->size(), widget->sizeHint());
        EXPECT_EQ(textOf(widget), QString::fromUtf8(row.text));
    }
}

TEST(FormLayout, ControlsHoldTheirStoredStateAfterStartUpOnAnEmptyFolder) {
    testing::FormFixture fixture;
    TForm1& form = fixture.form;
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_FALSE(form.RadioButton2->isChecked());
    EXPECT_FALSE(form.CheckBox1->isChecked());
    EXPECT_FALSE(form.Edit1->isEnabled());
    EXPECT_EQ(form.Edit1->maxLength(), std::numeric_limits<int>::max());
    EXPECT_FALSE(form.SpinEdit2->isEnabled());
    EXPECT_TRUE(form.SpinEdit1->isEnabled());
    EXPECT_EQ(form.Edit1->palette().color(QPalette::Base),
              resolveSystemColor(form::SystemColor::InactiveCaptionText));
    EXPECT_EQ(form.SpinEdit2->palette().color(QPalette::Base),
              resolveSystemColor(form::SystemColor::InactiveCaptionText));
    EXPECT_EQ(form.SpinEdit1->palette().color(QPalette::Base),
              resolveSystemColor(form::SystemColor::Window));
    EXPECT_EQ(form.SpinEdit1->Value(), 4);
    EXPECT_EQ(form.SpinEdit1->MinValue(), 0);
    EXPECT_EQ(form.SpinEdit1->MaxValue(), 100);
    EXPECT_EQ(form.SpinEdit2->Value(), 0);
    EXPECT_EQ(form.SpinEdit2->MaxValue(), 100);
    EXPECT_EQ(form.RadioGroup1->count(), 3);
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(form.RadioGroup1->button(0)->text(), QString::fromUtf8("小文字"));
    EXPECT_EQ(form.RadioGroup1->button(1)->text(), QString::fromUtf8("大文字"));
    EXPECT_EQ(form.RadioGroup1->button(2)->text(), QString::fromUtf8("変更しない"));
    EXPECT_EQ(form.FilterComboBox1->count(), 5);
    EXPECT_EQ(form.FilterComboBox1->currentIndex(), 0);
    EXPECT_EQ(form.ProgressBar1->min(), 0);
    EXPECT_EQ(form.ProgressBar1->max(), 0); // emptied by the example of the first listing
    EXPECT_EQ(form.ProgressBar1->position(), 0);
    EXPECT_EQ(form.ProgressBar1->step(), 10);
    EXPECT_EQ(form.BitBtn1->kind(), TBitBtn::Kind::Ok);
    EXPECT_EQ(form.BitBtn2->kind(), TBitBtn::Kind::Cancel);
    EXPECT_FALSE(form.BitBtn1->icon().isNull());
    EXPECT_EQ(form.StatusBar1->simpleText(), "0File");
    EXPECT_EQ(QFontInfo(form.font()).pixelSize(), 12);

    // Once the window is on the screen, its icon in every size the package installs, for the
    // window manager to pick from; a size installed is drawn as drawn, another from the next
    // larger one.
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.windowIcon().isNull(); }));
    QList<QSize> iconSizes = form.windowIcon().availableSizes();
    std::sort(iconSizes.begin(), iconSizes.end(),
              [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(
        iconSizes,
        (QList<QSize>{
            {16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    const auto argb = [](const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    };
    EXPECT_EQ(argb(form.windowIcon().pixmap(16, 16)),
              argb(QPixmap(QStringLiteral(":/icons/ordinalette_16.png"))));
    EXPECT_EQ(form.windowIcon().pixmap(20, 20).size(), QSize(20, 20));
}

} // namespace
} // namespace ordinalette::app
