#pragma once

#include "engine/journaled_run.h"
#include "engine/naming.h"
#include "engine/run_recovery.h"
#include "engine/tests/rename_run_fixture.h"
#include "testsupport/fault_injecting_file_system.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace ordinalette::engine {

// Runs over files whose old and new names meet, interrupted, finished, reverted and undone.
class RecoveryTest : public RenameRunTest {
protected:
    using Operation = testsupport::FaultInjectingFileSystem::Operation;
    static constexpr int kWidth = 4;

    // Every fourth file bears the new name of another one, so that a run that moved a file
    // straight to its new name, or back to its old one, would meet another listed file.
    Names makeOverlappingFiles(int count) {
        Names created;
        for (int i = 0; i < count; ++i) {
            char name[32];
            if (i % 4 == 0)
                std::snprintf(name, sizeof name, "Note%04d.txt", count - i);
            else
                std::snprintf(name, sizeof name, "p%05d.TXT", i);
            created.push_back(name);
        }
        return makeFiles(created);
    }

    // Leaves the folder, which runs make the working directory: on Windows a working directory
    // can be neither moved nor removed.
    void leaveFolder() { std::filesystem::current_path(dir.path()); }
    // An empty folder and no journals, for the next case.
    void startOver() {
        leaveFolder();
        std::filesystem::remove_all(folder());
        std::filesystem::remove_all(journalDirectory);
        dir.makeDir("Notes");
    }

    RenameRun overlappingRun(const Names& names) { return request(names, "Note", kWidth); }

    Names newNames(const Names& names) const {
        Names renamed;
        for (std::size_t i = 0; i < names.size(); ++i)
            renamed.push_back(newFileName("Note", static_cast<std::int64_t>(i) + 1, kWidth,
                                          names[i], ExtensionCase::Lower, utf8));
        return renamed;
    }

    // The folder holds exactly the given files, each holding the name given beside it: every
    // file exists exactly once, under the name expected for it.
    void expectFolderHolds(const Names& onDisk, const Names& contents) {
        Names sorted = onDisk;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(entries(), sorted);
        Names found;
        for (const std::string& name : onDisk)
            found.push_back(dir.exists("Notes/" + name) ? content(name) : "(missing)");
        EXPECT_EQ(found, contents);
    }
    void expectRenamed(const Names& names) { expectFolderHolds(newNames(names), names); }
    void expectOriginal(const Names& names) { expectFolderHolds(names, names); }

    // A run that fails at the given move with its journal written.
    void interruptAtMove(const Names& names, int move) {
        testsupport::FaultInjectingFileSystem failing(fileSystem);
        failing.failCall(Operation::MoveFile, move, platform::error::AccessDenied);
        EXPECT_THROW(runRename(failing, overlappingRun(names), utf8), EInterruptedRun);
    }

    std::vector<InterruptedRun> offered() { return interruptedRuns(fileSystem, journalDirectory); }
    Names journals() const { return dir.entries("state/ordinalette"); }
};

} // namespace ordinalette::engine
