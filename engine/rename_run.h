#pragma once

#include "engine/naming.h"
#include "platform/code_page.h"
#include "platform/file_system.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace ordinalette::engine {

// What a rename run works on, as the window holds it when Start is pressed.
struct RenameRun {
    std::string_view folderPath;
    // The listed names in list order; item i gets serial number i + 1.
    std::span<const std::string> names;
    std::string_view namePrefix;
    // The width of the serial numbers, asked once, before the first pass.
    std::function<int()> width;
    ExtensionCase extensionCase = ExtensionCase::Lower;
    // Called after each file of the first pass with the number of files moved into the
    // temporary folder so far.
    std::function<void(std::size_t parked)> fileParked;
    // Called after each file of the second pass with the number of files renamed so far.
    std::function<void(std::size_t renamed)> fileRenamed;
    // The folder of the run journals (created when missing).
    std::string_view journalDirectory;
};

enum class RenameOutcome { NoFiles, Renamed };

// Renames every listed file to its serial name in two passes through a fresh temporary
// subfolder "tmp<n>", so that no new name can meet the old name of another listed file. Makes
// the folder the working directory. An empty list is refused before anything is touched. Before
// the first move a journal of the run is written (journal_store.h); one that cannot be written
// stops the run. The first failed operation throws EInOutError with its error number and leaves
// everything as it stands: nothing is undone, and no existing file is ever replaced. A failure
// after the journal was written is an EInterruptedRun, which the journal can finish or undo.
RenameOutcome runRename(platform::FileSystem& fileSystem, const RenameRun& run,
                        const platform::CodePage& codePage);

} // namespace ordinalette::engine
