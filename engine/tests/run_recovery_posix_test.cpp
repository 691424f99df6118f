// Runs killed in a child process at many points of both passes, then recovered.
#include "engine/tests/recovery_fixture.h"

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace ordinalette::engine {
namespace {

namespace fs = std::filesystem;

// A point of a run: the call of an operation before which the process is killed.
struct KillPoint {
    testsupport::FaultInjectingFileSystem::Operation operation;
    int call;
};

class KilledRun : public RecoveryTest {
protected:
    static constexpr int kFiles = 2000;

    // Runs over the folder in a child process that is killed at the point, as a crash or a
    // power cut would end it. True when the child died by the kill.
    bool runKilledAt(const Names& names, const KillPoint& point) {
        const pid_t child = fork();
        if (child == 0) {
            testsupport::FaultInjectingFileSystem killing(fileSystem);
            killing.onCall(point.operation, point.call, [] { std::raise(SIGKILL); });
            try {
                runRename(killing, overlappingRun(names), utf8);
            } catch (...) {
            }
            _exit(0); // never unwinds into the parent's fixture
        }
        int status = 0;
        return waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
               WTERMSIG(status) == SIGKILL;
    }

    // What a user does at the next start: "続ける" finishes every run offered; "元に戻す"
    // reverts it, or undoes the run when it was found finished.
    void recoverAs(bool continueRun) {
        for (const InterruptedRun& run : offered()) {
            if (continueRun)
                finishRun(fileSystem, journalDirectory, run.journal, {});
            else
                revertRun(fileSystem, journalDirectory, run.journal, {});
        }
        const LastRun last = lastRunOf(fileSystem, journalDirectory, folder());
        if (!continueRun && last.kind == LastRun::Kind::Finished)
            undoRun(fileSystem, journalDirectory, last.run.journal, folder(), {});
    }

    // Gives renamed files their old names again for the next point (making thousands of files
    // anew would take far longer than renaming them).
    void renameBack(const Names& names) {
        const Names renamed = newNames(names);
        fs::create_directory(folder() + "/back");
        for (std::size_t i = 0; i < names.size(); ++i)
            fs::rename(folder() + "/" + renamed[i], folder() + "/back/" + names[i]);
        for (const std::string& name : names)
            fs::rename(folder() + "/back/" + name, folder() + "/" + name);
        fs::remove(folder() + "/back");
    }
};

TEST_F(KilledRun, EveryFileExistsOnceUnderItsExpectedNameAfterContinuingOrReverting) {
    using Op = Operation;
    std::vector<KillPoint> points = {
        {Op::CreateNewFile, 1},   {Op::WriteFile, 1},       {Op::FlushFile, 1},
        {Op::CreateDirectory, 1}, {Op::RemoveDirectory, 1}, {Op::ReplaceFile, 1},
    };
    // Moves 1 to kFiles park the files, kFiles + 1 to 2 * kFiles place them.
    for (const int move : {1,    2,    3,    401,  999,  1000, 1001, 1777, 1999, 2000, 2001,
                           2002, 2003, 2400, 2999, 3000, 3001, 3500, 3998, 3999, 4000})
        points.push_back({Op::MoveFile, move});
    // Points before the temporary folder exists leave nothing to continue.
    const auto movedAnything = [](const KillPoint& point) {
        return point.operation == Op::MoveFile || point.operation == Op::RemoveDirectory ||
               point.operation == Op::ReplaceFile;
    };

    const Names names = makeOverlappingFiles(kFiles);
    for (const KillPoint& point : points) {
        for (const bool continueRun : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << "operation " << static_cast<int>(point.operation) << ", call "
                         << point.call << (continueRun ? ", 続ける" : ", 元に戻す"));
            fs::remove_all(journalDirectory);
            ASSERT_TRUE(runKilledAt(names, point));

            recoverAs(continueRun);
            EXPECT_TRUE(offered().empty());
            const bool renamed = continueRun && movedAnything(point);
            if (renamed)
                expectRenamed(names);
            else
                expectOriginal(names);
            if (::testing::Test::HasFailure())
                return;
            if (renamed)
                renameBack(names);
        }
    }
}

} // namespace
} // namespace ordinalette::engine
