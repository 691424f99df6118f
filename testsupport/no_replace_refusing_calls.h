#pragma once

#include "platform/posix/no_replace_move.h"

#include <array>
#include <map>

namespace ordinalette::testsupport {

// The move's system calls on a file system that refuses RENAME_NOREPLACE, as NFS, FUSE without
// rename2 and ecryptfs do: every other call reaches the real one, except chosen calls that
// fail with a chosen errno without reaching it.
class NoReplaceRefusingCalls : public platform::MoveCalls {
public:
    enum class Call { Rename, Unlink, Count };

    // The callNumber-th call (counted from 1) of the kind fails with errnoValue.
    void failCall(Call call, int callNumber, int errnoValue);

    int renameNoReplace(platform::FolderEntry from, platform::FolderEntry to) override;
    int rename(platform::FolderEntry from, platform::FolderEntry to) override;
    int unlink(platform::FolderEntry entry) override;

private:
    // Counts the call and gives the errno it must fail with, or 0 to pass it on.
    int injectedError(Call call);

    std::array<int, static_cast<std::size_t>(Call::Count)> m_calls{};
    std::map<std::pair<Call, int>, int> m_faults;
};

} // namespace ordinalette::testsupport
