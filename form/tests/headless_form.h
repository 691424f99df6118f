#pragma once

#include "form/tests/headless_controls.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_services.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::form::testing {

// The window's logic over headless controls, in a working directory of its own (holding the
// settings file when one is given), started on a folder holding the given files. The code page
// is the form's own, not the process's.
struct HeadlessForm {
    HeadlessForm(const platform::CodePage& namesCodePage, const std::string& folderName,
                 const std::vector<std::string>& files,
                 platform::FileSystem& fileSystem = platform::systemFileSystem(),
                 const std::optional<std::string>& settings = std::nullopt)
        : folder(platform::joinPath(dir.path(), folderName)), controls(folder),
          codePage(namesCodePage), collator(codePage),
          form(controls, fileSystem, codePage, collator, journals.path()) {
        std::filesystem::current_path(dir.path());
        makeFolder(folderName, files);
        if (settings)
            dir.writeFile("Ordinlet.ini", *settings);
        controls.form = &form;
        form.start();
    }

    // Makes a folder beside the start folder, holding the given files; gives its path.
    std::string makeFolder(const std::string& name, const std::vector<std::string>& files) const {
        platform::FileSystem& fileSystem = platform::systemFileSystem();
        const std::string path = platform::joinPath(dir.path(), name);
        EXPECT_EQ(fileSystem.createDirectory(path), 0);
        for (const std::string& file : files)
            EXPECT_TRUE(fileSystem.createFile(platform::joinPath(path, file)).ok());
        return path;
    }
    std::string settingsPath() const { return platform::joinPath(dir.path(), "Ordinlet.ini"); }
    std::u16string example() const { return controls.controlText(Control::Label3); }

    testsupport::TempDir dir;
    testsupport::TempDir journals;
    testsupport::WorkingDirectoryGuard workingDirectory;
    std::string folder;
    HeadlessControls controls;
    platform::CodePage codePage;
    platform::TextCollator collator;
    TForm1 form;
};

} // namespace ordinalette::form::testing
