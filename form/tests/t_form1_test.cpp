#include "form/error_text.h"
#include "form/message_caption.h"
#include "form/tests/headless_form.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::form {
namespace {

using testing::HeadlessForm;

std::vector<std::string> numbered(int count, const std::string& extension) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back("IMG_" + std::to_string(1000 + i) + extension);
    return names;
}

// "表示": the trail byte of 表 is 0x5C, a backslash when read byte by byte; "ポ" ends in 0x7C.
TEST(Form1, TheChainTakesWholeShiftJisCharactersWhateverTheProcessLocale) {
    HeadlessForm f(platform::CodePage::cp932(), "\x95\x5C\x8E\xA6",
                   {"b.TXT", "A.txt", "\x83\x7C.jpg"});
    EXPECT_EQ(f.form.FolderPath, f.folder);
    EXPECT_EQ(f.controls.listItems(), (std::vector<std::string>{"A.txt", "b.TXT", "\x83\x7C.jpg"}));
    EXPECT_EQ(f.controls.controlText(Control::StatusBar1), u"3Files");
    EXPECT_EQ(f.form.Ketasu, 1);
    f.controls.setControlValue(Control::SpinEdit1, 1);
    f.controls.setControlChecked(Control::CheckBox1, true);
    f.controls.setControlText(Control::Edit1, u"ポ");
    EXPECT_EQ(f.form.NamePrefix, "\x95\x5C\x83\x7C") << "one whole character and the separator";
    EXPECT_EQ(f.example(), u"表ポ1.txt");
    EXPECT_TRUE(f.controls.errors.empty());
}

// A nested handler's error ends the handler whose change it was nested in, and is shown once.
TEST(Form1, AnErrorInANestedHandlerEndsTheOuterOneAndIsShownOnce) {
    HeadlessForm f(platform::CodePage::utf8(), "photos", {"a.jpg"});
    f.controls.setControlChecked(Control::CheckBox1, true);
    f.controls.setControlText(Control::Edit1, u"_");
    f.controls.colors.clear();
    // Edit1's handler, nested in CheckBox1's, now fails where it empties the example's bar.
    f.controls.setProgressMin(5);
    f.controls.setControlChecked(Control::CheckBox1, false);
    EXPECT_EQ(f.controls.errors,
              std::vector<std::string>{"プロパティ TProgressBar の範囲を超えています"});
    EXPECT_FALSE(f.controls.colors.contains(Control::Edit1)) << "CheckBox1Click went on";
    f.controls.setProgressMin(0);
    f.controls.setControlValue(Control::SpinEdit1, 2);
    EXPECT_EQ(f.form.NamePrefix, "ph");
    EXPECT_EQ(f.controls.errors.size(), 1u);

    // SpinEdit2Change fails inside the folder change's reset of SpinEdit2.
    f.controls.setProgressMin(5);
    f.controls.setTreePath(f.makeFolder("Summer", numbered(10, ".JPG")));
    ASSERT_EQ(f.controls.errors.size(), 2u);
    EXPECT_EQ(errorBoxText(f.controls.errors[1]), "プロパティ TProgressBar の範囲を超えています.");
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit2), u"2"); // done before the error
    EXPECT_EQ(f.form.NamePrefix, "ph");                          // never reached
}

TEST(Form1, FixedDigitCountIsResetToTheAutomaticOneOnEveryFolderChange) {
    HeadlessForm f(platform::CodePage::utf8(), "Empty", {});
    const std::string summer = f.makeFolder("Summer", numbered(12, ".JPG"));
    f.controls.setControlChecked(Control::RadioButton2, true);
    EXPECT_TRUE(f.controls.enabled[Control::SpinEdit2]);
    EXPECT_EQ(f.controls.colors[Control::SpinEdit2], SystemColor::Window);
    f.controls.setControlValue(Control::SpinEdit2, 5);
    EXPECT_EQ(f.example(), u"");

    f.controls.setTreePath(summer);
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit2), u"2");
    EXPECT_EQ(f.example(), u"Summ01.jpg");
    f.controls.setControlValue(Control::SpinEdit2, 1); // below the minimum
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit2), u"2");
    f.controls.setControlValue(Control::SpinEdit2, 3);
    EXPECT_EQ(f.example(), u"Summ001.jpg");

    f.controls.setTreePath(f.folder);
    EXPECT_EQ(f.controls.controlMinValue(Control::SpinEdit2), 0);
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit2), u"0");
    EXPECT_EQ(f.controls.controlText(Control::StatusBar1), u"0File");
    EXPECT_EQ(f.example(), u"");

    f.controls.setControlChecked(Control::RadioButton1, true);
    EXPECT_FALSE(f.controls.enabled[Control::SpinEdit2]);
    EXPECT_EQ(f.controls.colors[Control::SpinEdit2], SystemColor::InactiveCaptionText);
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit2), u"0"); // its value stays
}

TEST(Form1, SeparatorIsOnlyTakenWhileTheCheckBoxIsChecked) {
    HeadlessForm f(platform::CodePage::utf8(), "Summer", numbered(3, ".JPG"));
    f.controls.setControlChecked(Control::CheckBox1, true);
    EXPECT_TRUE(f.controls.enabled[Control::Edit1]);
    EXPECT_EQ(f.controls.colors[Control::Edit1], SystemColor::Window);
    f.controls.setControlText(Control::Edit1, u"_");
    EXPECT_EQ(f.example(), u"Summ_1.jpg");
    f.controls.setControlValue(Control::RadioGroup1, 1);
    EXPECT_EQ(f.example(), u"Summ_1.JPG");

    f.controls.setControlChecked(Control::CheckBox1, false);
    EXPECT_EQ(f.controls.controlText(Control::Edit1), u"");
    EXPECT_FALSE(f.controls.enabled[Control::Edit1]);
    EXPECT_EQ(f.controls.colors[Control::Edit1], SystemColor::InactiveCaptionText);
    EXPECT_EQ(f.example(), u"Summ1.JPG");

    f.controls.setControlChecked(Control::CheckBox1, true);
    EXPECT_EQ(f.controls.controlText(Control::Edit1), u"");
    EXPECT_TRUE(f.controls.enabled[Control::Edit1]);
    f.controls.setControlText(Control::Edit1, u"・");
    EXPECT_EQ(f.example(), u"Summ・1.JPG");
    f.controls.setControlValue(Control::RadioGroup1, 2);
    EXPECT_EQ(f.example(), u"Summ・1.JPG");
}

TEST(Form1, StartOnAnEmptyListSaysSoAndTouchesNothing) {
    HeadlessForm f(platform::CodePage::utf8(), "Summer", {});
    f.form.controlChanged(Control::BitBtn1);
    EXPECT_EQ(f.controls.messages, std::vector<std::u16string>{u"ファイルが存在しません"});
    EXPECT_STREQ(messageCaption(f.controls.messageTypes.at(0)), "エラー");
    EXPECT_TRUE(std::filesystem::is_empty(f.folder));
    EXPECT_EQ(std::filesystem::current_path(), f.dir.path());
}

TEST(Form1, TheNewNamesAreThoseTheRunGivesWithTheSettingsAsTheyStand) {
    HeadlessForm f(platform::CodePage::utf8(), "Summer", {"b.jpg", "a.JPG", "c.Jpg"});
    f.controls.setControlChecked(Control::CheckBox1, true);
    f.controls.setControlText(Control::Edit1, u"_");
    f.controls.setControlValue(Control::RadioGroup1, 1);
    f.controls.setControlChecked(Control::RadioButton2, true);
    f.controls.setControlText(Control::SpinEdit2, u"3"); // as typed, before the field's check
    const auto rows = [&] {
        f.form.namePreviewRequested();
        std::vector<std::vector<std::string>> shown;
        for (std::size_t row = 0; row < f.controls.preview->count(); ++row)
            shown.push_back({f.controls.preview->currentName(row), f.controls.preview->newName(row),
                             f.controls.preview->remark(row)});
        return shown;
    };
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(rows(), (Rows{{"a.JPG", "Summ_001.JPG", ""},
                            {"b.jpg", "Summ_002.JPG", ""},
                            {"c.Jpg", "Summ_003.JPG", ""}}));
    EXPECT_EQ(f.controls.preview->markedCount(), 0);

    f.form.controlChanged(Control::BitBtn1);
    EXPECT_EQ(f.controls.listItems(),
              (std::vector<std::string>{"Summ_001.JPG", "Summ_002.JPG", "Summ_003.JPG"}));

    // A separator that holds the path separator gives no name the run can give.
    f.controls.setControlText(Control::Edit1, u"/");
    for (const std::vector<std::string>& row : rows())
        EXPECT_EQ(row[2], "不正なファイル名") << row[0];
    EXPECT_EQ(f.controls.preview->markedCount(), 3);
}

} // namespace
} // namespace ordinalette::form
