#include "engine/rename_run.h"

#include "engine/in_out_error.h"

namespace ordinalette::engine {

namespace {

void check(int error) {
    if (error != platform::error::None)
        throw EInOutError(error);
}

template <typename T> T checked(platform::Result<T> result) {
    check(result.error);
    return std::move(result.value);
}

// The first "tmp<n>" that names no directory of the working directory. A plain file of that
// name does not count as taken: creating the directory then fails, as it should.
std::string freeTemporaryName(platform::FileSystem& fileSystem) {
    for (unsigned long long n = 1;; ++n) {
        std::string name = "tmp" + std::to_string(n);
        const auto attributes = fileSystem.attributes(name);
        if (!attributes.ok() || (attributes.value & platform::attribute::Directory) == 0)
            return name;
    }
}

// Both passes, through handles of the folder (the working directory by now) and of its
// temporary subfolder, so that a folder swapped or a link planted while the run goes on cannot
// send a file elsewhere. The handles are closed on return: an open folder cannot be removed on
// every platform.
void moveThroughTemporaryFolder(platform::FileSystem& fileSystem, const RenameRun& run,
                                const std::string& temporaryName,
                                const platform::CodePage& codePage) {
    const platform::DirectoryHandle folder = checked(fileSystem.openDirectory("."));
    const platform::DirectoryHandle temporary =
        checked(fileSystem.openSubdirectory(folder, temporaryName));

    for (const std::string& name : run.names)
        check(fileSystem.moveFile(folder, name, temporary, name));

    const int width = run.width();
    for (std::size_t i = 0; i < run.names.size(); ++i) {
        const std::string& oldName = run.names[i];
        const std::string newName = newFileName(run.namePrefix, static_cast<std::int64_t>(i) + 1,
                                                width, oldName, run.extensionCase, codePage);
        check(fileSystem.moveFile(temporary, oldName, folder, newName));
        if (run.fileRenamed)
            run.fileRenamed(i + 1);
    }
}

} // namespace

RenameOutcome runRename(platform::FileSystem& fileSystem, const RenameRun& run,
                        const platform::CodePage& codePage) {
    if (run.names.empty())
        return RenameOutcome::NoFiles;
    check(fileSystem.changeDirectory(run.folderPath));
    const std::string temporaryName = freeTemporaryName(fileSystem);
    check(fileSystem.createDirectory(temporaryName));
    moveThroughTemporaryFolder(fileSystem, run, temporaryName, codePage);
    check(fileSystem.removeDirectory(temporaryName));
    return RenameOutcome::Renamed;
}

} // namespace ordinalette::engine
