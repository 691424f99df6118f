#include "app/controls/t_bit_btn.h"
#include "app/controls/t_filter_combo_box.h"
#include "app/controls/t_label.h"
#include "app/controls/t_list_box.h"
#include "app/controls/t_radio_group.h"
#include "app/controls/t_spin_edit.h"
#include "app/qt_translation.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ordinalette::app {
namespace {

// A spin edit inside a window, with a second control to move the focus to.
struct SpinFixture {
    QWidget window;
    TSpinEdit* spin = new TSpinEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    SpinFixture(int min, int max, const char* text) {
        spin->SetMinValue(min);
        spin->SetMaxValue(max);
        spin->setText(text);
        spin->setGeometry(0, 0, 57, 21);
        other->setGeometry(0, 30, 57, 21);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        spin->setFocus();
    }
};

TEST(SpinEdit, ReportsEveryTextChangeAndNoneForTheSameText) {
    SpinFixture f(0, 100, "4");
    QSignalSpy changes(f.spin, &TSpinEdit::OnChange);
    f.spin->SetValue(4);
    EXPECT_EQ(changes.count(), 0);
    f.spin->SetValue(5);
    QTest::keyClick(f.spin, Qt::Key_Backspace);
    f.spin->setText("x"); // pasted text is not filtered
    EXPECT_EQ(changes.count(), 3);
}

TEST(SpinEdit, TypingTakesDigitsAndSignsOnlyAndEnterIsRefused) {
    SpinFixture f(0, 100, "");
    QTest::keyClicks(f.spin, "1a2+ -");
    EXPECT_EQ(f.spin->text(), "12+-");
    QTest::keyClick(f.spin, Qt::Key_Return);
    EXPECT_EQ(f.spin->text(), "12+-");
    QInputMethodEvent japanese;
    japanese.setCommitString(QString::fromUtf8("あ"));
    QApplication::sendEvent(f.spin, &japanese);
    EXPECT_EQ(f.spin->text(), "12+-");
}

TEST(SpinEdit, ArrowKeysStepFromTheValueAsReadAndBringItIntoRange) {
    SpinFixture f(2, 100, "150");
    QTest::keyClick(f.spin, Qt::Key_Up);
    EXPECT_EQ(f.spin->text(), "100");
    f.spin->setText("abc");
    QTest::keyClick(f.spin, Qt::Key_Down);
    EXPECT_EQ(f.spin->text(), "2"); // unreadable reads as the minimum, 1 is clamped back
    QTest::keyClick(f.spin, Qt::Key_Up);
    EXPECT_EQ(f.spin->text(), "3");
}

TEST(SpinEdit, ButtonsActOnReleaseAndRepeatWhileHeld) {
    SpinFixture f(0, 100, "10");
    QTest::mousePress(f.spin->upButton(), Qt::LeftButton);
    EXPECT_EQ(f.spin->text(), "10");
    QTest::mouseRelease(f.spin->upButton(), Qt::LeftButton);
    EXPECT_EQ(f.spin->text(), "11");

    QSignalSpy changes(f.spin, &TSpinEdit::OnChange);
    QTest::mousePress(f.spin->downButton(), Qt::LeftButton);
    ASSERT_TRUE(changes.wait(5000)); // the first repeat, while still held
    ASSERT_TRUE(changes.wait(5000)); // and the next
    QTest::mouseRelease(f.spin->downButton(), Qt::LeftButton);
    EXPECT_EQ(f.spin->Value(), 11 - changes.count());
    EXPECT_GE(changes.count(), 3);
    EXPECT_EQ(f.spin->upButton()->autoRepeatDelay(), 400);
    EXPECT_EQ(f.spin->upButton()->autoRepeatInterval(), 100);
}

TEST(SpinEdit, LeavingTheFieldClampsAReadableValueOnly) {
    SpinFixture f(2, 100, "1");
    f.other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(f.spin->text(), "2");
    f.spin->setFocus();
    f.spin->setText("");
    f.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.spin->text(), "");
}

TEST(SpinEdit, DisabledTakesNoInputButCanBeSet) {
    SpinFixture f(0, 100, "5");
    f.spin->setEnabled(false);
    QTest::keyClicks(f.spin, "7");
    QTest::mouseClick(f.spin->upButton(), Qt::LeftButton);
    EXPECT_EQ(f.spin->text(), "5");
    f.spin->SetValue(9);
    EXPECT_EQ(f.spin->text(), "9");
}

TEST(FilterComboBox, MaskSelectsTheLastEntryQuietlyAndOnlyUserPicksReport) {
    TFilterComboBox combo(platform::CodePage::system());
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.selectedMask(), "*.*");
    combo.setFilter("A|*.a|B|*.b|C|*.c");
    QSignalSpy changes(&combo, &TFilterComboBox::OnChange);
    combo.setCurrentIndex(-1);
    EXPECT_EQ(combo.selectedMask(), "*.c");
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(changes.count(), 0);
    combo.show();
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Up);
    EXPECT_EQ(combo.selectedMask(), "*.b");
    EXPECT_EQ(changes.count(), 1);
    combo.setFilter("");
    EXPECT_EQ(combo.selectedMask(), "*.*");
}

TEST(RadioGroup, ItemIndexIsLimitedAndReportsOnlyRealChanges) {
    TRadioGroup group;
    group.resize(153, 73);
    group.setItems({"a", "b", "c"});
    group.show();
    QSignalSpy clicks(&group, &TRadioGroup::OnClick);
    group.SetItemIndex(1);
    group.SetItemIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    group.SetItemIndex(7);
    EXPECT_EQ(group.ItemIndex(), 2);
    QTest::mouseClick(group.button(2), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(clicks.count(), 2);
    QTest::mouseClick(group.button(0), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_FALSE(group.button(2)->isChecked());
    group.SetItemIndex(-5);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(clicks.count(), 4);
}

TEST(ListBox, KeepsRawNamesInCaseInsensitiveOrderAndShowsThemDecoded) {
    const platform::TextCollator collator(platform::CodePage::system());
    TListBox list(platform::CodePage::system(), collator);
    list.addAll({"a2.jpg", "A1.jpg", "a10.jpg", "B.jpg", "a.jpg"});
    EXPECT_EQ(list.items(),
              (std::vector<std::string>{"a.jpg", "A1.jpg", "a10.jpg", "a2.jpg", "B.jpg"}));
    list.add("a11.jpg");
    EXPECT_EQ(list.item(3), "a11.jpg");
    const std::string invalid = "bad\xFF.txt";
    list.add(invalid);
    const auto row = std::find(list.items().begin(), list.items().end(), invalid);
    ASSERT_NE(row, list.items().end());
    const QModelIndex index = list.model()->index(static_cast<int>(row - list.items().begin()), 0);
    EXPECT_EQ(index.data().toString(), QString::fromUtf8("bad\uFFFD.txt"));
    EXPECT_EQ(index.data(Qt::SizeHintRole).toSize().height(),
              std::max(12, list.fontMetrics().height()));
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST(ListBox, TakesAHundredThousandNamesWithoutAWidgetPerItem) {
    std::vector<std::string> names;
    for (int i = 100000; i > 0; --i)
        names.push_back("IMG_" + std::to_string(i) + ".JPG");
    const platform::TextCollator collator(platform::CodePage::system());
    TListBox list(platform::CodePage::system(), collator);
    list.resize(217, 409);
    list.show();
    list.addAll(std::move(names));
    EXPECT_EQ(list.count(), 100000);
    EXPECT_EQ(list.item(0), "IMG_1.JPG");
    EXPECT_EQ(list.item(1), "IMG_10.JPG");
    EXPECT_TRUE(list.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size() < 10);
}

TEST(BitBtn, GlyphHasATransparentBackgroundAndADisabledImage) {
    TBitBtn button;
    button.setKind(TBitBtn::Kind::Ok);
    const QImage normal = button.icon().pixmap(18, 18, QIcon::Normal).toImage();
    const QImage disabled = button.icon().pixmap(18, 18, QIcon::Disabled).toImage();
    EXPECT_EQ(qAlpha(normal.pixel(0, 17)), 0);
    EXPECT_EQ(qAlpha(disabled.pixel(0, 17)), 0);
    EXPECT_NE(normal, disabled);
    EXPECT_TRUE(button.isDefault());
}

TEST(Label, ShowsTheAmpersandAndSizesItselfToItsText) {
    QWidget parent;
    auto* label = new TLabel(&parent);
    label->setCaption("A&B");
    EXPECT_EQ(label->text(), "A&B");
    const int narrow = label->width();
    label->setCaption("A&B with a much longer text");
    EXPECT_GT(label->width(), narrow);
}

TEST(QtTexts, TheFieldsContextMenusAreJapanese) {
    QTranslator qtJapanese;
    ASSERT_TRUE(installQtJapanese(qtJapanese));
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const QList<QAction*> entries = menu->actions();
    EXPECT_TRUE(entries.front()->text().startsWith(QString::fromUtf8("元に戻す")));
    EXPECT_TRUE(entries.back()->text().startsWith(QString::fromUtf8("すべてを選択")));
}

} // namespace
} // namespace ordinalette::app
