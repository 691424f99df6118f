#include "form/error_text.h"
#include "form/tests/headless_form.h"
#include "testsupport/fault_injecting_file_system.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::form {
namespace {

using testing::HeadlessForm;
using Operation = testsupport::FaultInjectingFileSystem::Operation;

// 100 files, so that the automatic digit count is 3.
std::vector<std::string> hundredFiles() {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i)
        names.push_back("photo" + std::to_string(i) + ".JPG");
    return names;
}

struct Expected {
    std::string lines;
    const char16_t* count;
    const char16_t* separator; // nullptr: separator off
    bool fixed;
    const char16_t* spinEdit2;
    int extensionCase;
};

TEST(Form1Settings, EveryLineOfTheSettingsFileComesOutAsStored) {
    const Expected table[] = {
        {"", u"4", nullptr, false, u"3", 0},
        {"\x01\x02garbage\nFolder=1\n", u"4", nullptr, false, u"3", 0},
        {"FolderKetasu=7\r\nCharactor=_\r\n", u"7", u"_", false, u"3", 0},
        {"FolderKetasu=12\r\nCharactor=-\r\nAuto=False\r\nRenbanKetasu=5\r\n" +
             std::string(1, '\0') + "Kakuchoushi=1\r\n",
         u"12", u"-", true, u"5", 0},
        {"FolderKetasu=-3", u"0", nullptr, false, u"3", 0},
        {"FolderKetasu=250", u"100", nullptr, false, u"3", 0},
        {"FolderKetasu=abc", u"4", nullptr, false, u"3", 0},
        {"FolderKetasu=12 ", u"4", nullptr, false, u"3", 0},
        {"FolderKetasu=99999999999", u"4", nullptr, false, u"3", 0},
        {"FolderKetasu= 12", u"12", nullptr, false, u"3", 0},
        {"FolderKetasu=$0C", u"12", nullptr, false, u"3", 0},
        {"FolderKetasu=0x0c", u"12", nullptr, false, u"3", 0},
        {"FolderKetasu=", u"4", nullptr, false, u"3", 0},
        {"folderketasu=7", u"7", nullptr, false, u"3", 0},
        {" FolderKetasu=7", u"4", nullptr, false, u"3", 0},
        {"\357\273\277FolderKetasu=7", u"4", nullptr, false, u"3", 0}, // a byte-order mark first
        {"FolderKetasu=5\nFolderKetasu=9", u"5", nullptr, false, u"3", 0},
        {"Charactor= ", u"4", u" ", false, u"3", 0},
        {"Charactor==", u"4", u"=", false, u"3", 0},
        {"Auto=False", u"4", nullptr, true, u"3", 0},
        {"Auto=False\r\nRenbanKetasu=x", u"4", nullptr, false, u"3", 0},
        {"Auto=False\r\nRenbanKetasu=1", u"4", nullptr, true, u"3", 0},
        {"Auto=False\r\nRenbanKetasu=200", u"4", nullptr, true, u"100", 0},
        {"Auto=false\r\nRenbanKetasu=5", u"4", nullptr, false, u"3", 0},
        {"Auto=True\r\nRenbanKetasu=5", u"4", nullptr, false, u"3", 0},
        {"Kakuchoushi=1", u"4", nullptr, false, u"3", 1},
        {"Kakuchoushi=3", u"4", nullptr, false, u"3", 0},
        {"Kakuchoushi=-1", u"4", nullptr, false, u"3", 0},
        {"Kakuchoushi=z", u"4", nullptr, false, u"3", 0},
        {"Kakuchoushi=$2", u"4", nullptr, false, u"3", 2},
        {"\nKakuchoushi=2\n\nx=y\rRenbanKetasu=6\n\rAuto=False\nFolderKetasu=3\n", u"3", nullptr,
         true, u"6", 2},
    };
    const std::vector<std::string> files = hundredFiles();
    for (const Expected& row : table) {
        SCOPED_TRACE(row.lines);
        HeadlessForm f(platform::CodePage::utf8(), "photos", files, platform::systemFileSystem(),
                       row.lines);
        testing::HeadlessControls& c = f.controls;
        EXPECT_EQ(c.controlText(Control::SpinEdit1), row.count);
        EXPECT_EQ(c.controlChecked(Control::CheckBox1), row.separator != nullptr);
        EXPECT_EQ(c.enabled[Control::Edit1], row.separator != nullptr);
        EXPECT_EQ(c.controlText(Control::Edit1), row.separator ? row.separator : u"");
        EXPECT_EQ(c.controlChecked(Control::RadioButton2), row.fixed);
        EXPECT_EQ(c.enabled[Control::SpinEdit2], row.fixed);
        EXPECT_EQ(c.controlText(Control::SpinEdit2), row.spinEdit2);
        EXPECT_EQ(c.controlValue(Control::RadioGroup1), row.extensionCase);
    }
    // No file at all.
    const HeadlessForm f(platform::CodePage::utf8(), "photos", files);
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit1), u"4");
    EXPECT_FALSE(f.controls.controlChecked(Control::CheckBox1));
    EXPECT_TRUE(f.controls.controlChecked(Control::RadioButton1));
}

TEST(Form1Settings, ASettingsFileThatCannotBeOpenedIsReportedAndTheStartValuesStay) {
    testsupport::FaultInjectingFileSystem faults(platform::systemFileSystem());
    faults.failCall(Operation::ReadFile, faults.calls(Operation::ReadFile) + 1,
                    platform::error::SharingViolation);
    const HeadlessForm f(platform::CodePage::utf8(), "photos", {"a.jpg"}, faults,
                         "FolderKetasu=9\r\n");
    ASSERT_EQ(f.controls.errors.size(), 1u);
    EXPECT_EQ(errorBoxText(f.controls.errors[0]),
              "ファイル " + f.settingsPath() + " は開けません.");
    EXPECT_EQ(f.controls.controlText(Control::SpinEdit1), u"4");
    EXPECT_EQ(f.controls.listItems().size(), 1u); // what FormCreate did before stays
    EXPECT_EQ(f.form.IniDir, f.dir.path());
}

TEST(Form1Settings, AnUnreadableWorkingDirectoryLeavesNoPlaceForTheFileAndClosingWritesNothing) {
    testsupport::FaultInjectingFileSystem faults(platform::systemFileSystem());
    faults.failCall(Operation::CurrentDirectory, faults.calls(Operation::CurrentDirectory) + 1,
                    platform::error::AccessDenied);
    HeadlessForm f(platform::CodePage::utf8(), "photos", {"a.jpg"}, faults);
    ASSERT_EQ(f.controls.errors.size(), 1u);
    EXPECT_EQ(errorBoxText(f.controls.errors[0]), "ファイルへのアクセスが拒否されました.");
    EXPECT_EQ(f.form.IniDir, "") << "not the directory of an earlier window";
    const auto writes = [&] {
        return faults.calls(Operation::FollowLinks) + faults.calls(Operation::CreateFile) +
               faults.calls(Operation::CreateTemporaryFile);
    };
    const int before = writes();
    f.controls.closeWindow();
    EXPECT_TRUE(f.controls.closed);
    EXPECT_EQ(writes(), before);
}

TEST(Form1Settings, TheSettingsFileStaysInTheStartDirectoryAfterARun) {
    HeadlessForm f(platform::CodePage::utf8(), "Trip", {"a.txt"});
    f.form.controlChanged(Control::BitBtn1);
    EXPECT_EQ(f.controls.listItems(), std::vector<std::string>{"Trip1.txt"});
    f.controls.closeWindow();
    EXPECT_TRUE(f.dir.exists("Ordinlet.ini"));
    EXPECT_FALSE(f.dir.exists("Trip/Ordinlet.ini"));
}

} // namespace
} // namespace ordinalette::form
