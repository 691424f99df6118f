#include "form/control_error.h"
#include "form/error_text.h"
#include "form/filter_string.h"
#include "form/form_layout.h"
#include "form/progress_range.h"
#include "form/spin_edit_value.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::form {
namespace {

TEST(SpinEdit, ReadsByTheIntegerRuleWithoutClampingAndSetsWithClamping) {
    EXPECT_EQ(spinEditValue("150", 2), 150);
    EXPECT_EQ(spinEditValue("", 2), 2);
    EXPECT_EQ(spinEditValue("12 ", 2), 2);
    EXPECT_EQ(spinEditValue(" $0C", 2), 12);
    EXPECT_EQ(spinEditText(1, 2, 100), "2");
    EXPECT_EQ(spinEditText(250, 2, 100), "100");
    EXPECT_EQ(spinEditText(250, 7, 7), "250"); // equal limits: no clamping at all
    EXPECT_EQ(steppedSpinEditText("x", 1, 2, 100), "3");
    EXPECT_EQ(spinEditTextOnLeaving("150", 0, 100), "100");
    EXPECT_EQ(spinEditTextOnLeaving("x", 0, 100), std::nullopt);
    EXPECT_TRUE(isSpinEditInput(u"-1,5+", u","));
    EXPECT_FALSE(isSpinEditInput(u"1.5", u","));
}

TEST(FilterString, SplitsIntoEntriesDoubleByteAware) {
    const auto utf8 = platform::CodePage::utf8();
    EXPECT_EQ(parseFilterString("A (*.*)|*.*|J|*.jpg", utf8),
              (std::vector<FilterEntry>{{"A (*.*)", "*.*"}, {"J", "*.jpg"}}));
    EXPECT_EQ(parseFilterString("A|*.*|dangling", utf8), (std::vector<FilterEntry>{{"A", "*.*"}}));
    EXPECT_EQ(parseFilterString("no bar", utf8), std::vector<FilterEntry>{});
    EXPECT_EQ(parseFilterString("A|", utf8), (std::vector<FilterEntry>{{"A", ""}}));
    // "ポ" in Shift_JIS is 0x83 0x7C: its trail byte is no separator.
    const std::string po = "\x83\x7C";
    EXPECT_EQ(parseFilterString(po + "|*.p" + po + "|X|*.x", platform::CodePage::cp932()),
              (std::vector<FilterEntry>{{po, "*.p" + po}, {"X", "*.x"}}));
}

TEST(ProgressBar, StepWrapsPastTheMaximumAndAMaximumBelowTheMinimumIsRefused) {
    ProgressRange bar;
    bar.setMax(3);
    bar.setStep(1);
    bar.stepIt();
    bar.stepIt();
    bar.stepIt();
    EXPECT_EQ(bar.position(), 3);
    bar.stepIt();
    EXPECT_EQ(bar.position(), 0);
    bar.setMin(2);
    EXPECT_EQ(bar.position(), 2);
    try {
        bar.setMax(1);
        FAIL() << "a maximum below the minimum was taken";
    } catch (const EControlError& error) {
        EXPECT_STREQ(error.what(), "プロパティ TProgressBar の範囲を超えています");
    }
    EXPECT_EQ(bar.max(), 3);
}

TEST(ErrorBox, AppendsADotAfterACharacterAboveTheDot) {
    EXPECT_EQ(errorBoxText("ファイルが見つかりません"), "ファイルが見つかりません.");
    EXPECT_EQ(errorBoxText("I/O エラー (183)"), "I/O エラー (183)");
    EXPECT_EQ(errorBoxText("done."), "done.");
    EXPECT_EQ(errorBoxText("abc"), "abc.");
    EXPECT_EQ(errorBoxText("a-"), "a-");
    EXPECT_EQ(errorBoxText(""), "");
}

TEST(TabChain, ParentsComeBeforeTheirChildrenAndARadioGroupsItemsAfterIt) {
    std::vector<std::string> places;
    for (const TabPlace& place : tabChain(form1Controls())) {
        std::string name = place.control->name;
        if (place.item >= 0)
            name += "#" + std::to_string(place.item);
        if (place.tabStop == TabStop::WhileChecked)
            name += "?";
        else if (place.tabStop == TabStop::Yes)
            name += "!";
        places.push_back(name);
    }
    EXPECT_EQ(places, (std::vector<std::string>{
                          "BitBtn1!", "BitBtn2!", "ShellTreeView1", "FilterComboBox1", "ListBox1",
                          "ProgressBar1", "GroupBox1", "SpinEdit1", "CheckBox1", "Edit1",
                          "GroupBox2", "RadioButton1?", "RadioButton2?", "SpinEdit2", "RadioGroup1",
                          "RadioGroup1#0?", "RadioGroup1#1?", "RadioGroup1#2?"}));
}

} // namespace
} // namespace ordinalette::form
