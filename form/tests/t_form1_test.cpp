#include "form/tests/headless_controls.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::form {
namespace {

// The window's logic over headless controls, in a working directory of its own, started on a
// folder holding the given files. The code page is the form's own, not the process's.
struct HeadlessForm {
    HeadlessForm(const platform::CodePage& namesCodePage, const std::string& folderName,
                 const std::vector<std::string>& files)
        : folder(platform::joinPath(dir.path(), folderName)), controls(folder),
          codePage(namesCodePage), collator(codePage),
          form(controls, platform::systemFileSystem(), codePage, collator, journals.path()) {
        std::filesystem::current_path(dir.path());
        platform::FileSystem& fileSystem = platform::systemFileSystem();
        EXPECT_EQ(fileSystem.createDirectory(folder), 0);
        for (const std::string& name : files)
            EXPECT_TRUE(fileSystem.createFile(platform::joinPath(folder, name)).ok());
        controls.form = &form;
        form.start();
    }

    testsupport::TempDir dir;
    testsupport::TempDir journals;
    testsupport::WorkingDirectoryGuard workingDirectory;
    std::string folder;
    testing::HeadlessControls controls;
    platform::CodePage codePage;
    platform::TextCollator collator;
    TForm1 form;
};

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
    EXPECT_EQ(f.controls.controlText(Control::Label3), u"表ポ1.txt");
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
}

} // namespace
} // namespace ordinalette::form
