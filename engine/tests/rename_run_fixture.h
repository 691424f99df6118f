#pragma once

#include "engine/in_out_error.h"
#include "engine/listing.h"
#include "engine/rename_run.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "testsupport/temp_dir.h"
#include "testsupport/working_directory_guard.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::engine {

using Names = std::vector<std::string>;

// A folder "Notes" in a temporary folder, files made in it and runs over them.
class RenameRunTest : public testing::Test {
protected:
    RenameRunTest() { dir.makeDir("Notes"); }

    std::string folder() const { return dir / "Notes"; }

    // Files whose content is their own name, so that every file can be traced after a run.
    Names makeFiles(const Names& names) {
        for (const std::string& name : names)
            dir.writeFile("Notes/" + name, name);
        return listFiles(fileSystem, folder(), "*.*", collator);
    }

    RenameRun request(const Names& names, std::string_view prefix = "Note", int width = 1) {
        RenameRun run;
        run.folderPath = storedFolder = folder();
        run.names = names;
        run.namePrefix = prefix;
        run.width = [width] { return width; };
        run.fileRenamed = [this](std::size_t renamed) { progress.push_back(renamed); };
        run.journalDirectory = journalDirectory;
        return run;
    }

    int failingCode(platform::FileSystem& used, const RenameRun& run) {
        try {
            runRename(used, run, utf8);
        } catch (const EInOutError& error) {
            return error.code();
        }
        ADD_FAILURE() << "the run did not fail";
        return 0;
    }

    Names entries(const std::string& subfolder = {}) const {
        return dir.entries(subfolder.empty() ? "Notes" : "Notes/" + subfolder);
    }
    std::string content(const std::string& name) const { return dir.readFile("Notes/" + name); }

    testsupport::TempDir dir;
    testsupport::WorkingDirectoryGuard workingDirectory;
    platform::CodePage utf8 = platform::CodePage::utf8();
    platform::FileSystem& fileSystem = platform::systemFileSystem();
    platform::TextCollator collator{utf8};
    std::string storedFolder;
    // Made by the first run, as on a first start.
    std::string journalDirectory = platform::joinPath(dir / "state", "ordinalette");
    std::vector<std::size_t> progress;
};

} // namespace ordinalette::engine
