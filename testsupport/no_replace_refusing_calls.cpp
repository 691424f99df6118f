#include "testsupport/no_replace_refusing_calls.h"

#include <cerrno>

namespace ordinalette::testsupport {

using platform::FolderEntry;

void NoReplaceRefusingCalls::failCall(Call call, int callNumber, int errnoValue) {
    m_faults[{call, callNumber}] = errnoValue;
}

int NoReplaceRefusingCalls::injectedError(Call call) {
    const int callNumber = ++m_calls[static_cast<std::size_t>(call)];
    const auto fault = m_faults.find({call, callNumber});
    return fault == m_faults.end() ? 0 : fault->second;
}

int NoReplaceRefusingCalls::renameNoReplace(FolderEntry, FolderEntry) {
    return EINVAL;
}

int NoReplaceRefusingCalls::rename(FolderEntry from, FolderEntry to) {
    if (const int error = injectedError(Call::Rename))
        return error;
    return MoveCalls::rename(from, to);
}

int NoReplaceRefusingCalls::unlink(FolderEntry entry) {
    if (const int error = injectedError(Call::Unlink))
        return error;
    return MoveCalls::unlink(entry);
}

} // namespace ordinalette::testsupport
