#pragma once

#include "foldertree/shell_namespace.h"

#include <memory>
#include <string>

namespace ordinalette::foldertree::testing {

// The platform's own shell namespace with a scratch folder of the test's in it, on a drive the
// tree shows: on Linux a folder of drive "d" of a namespace over temporary folders, on Windows a
// temporary folder of the system's namespace, whose object services it starts for the thread.
class ScratchNamespace {
public:
    ScratchNamespace();
    ~ScratchNamespace();
    ScratchNamespace(const ScratchNamespace&) = delete;
    ScratchNamespace& operator=(const ScratchNamespace&) = delete;

    std::shared_ptr<ShellNamespace> shellNamespace() const;
    // The scratch folder's path, and the path of an entry in it ("/" parts a name).
    std::string folder() const;
    std::string operator/(const std::string& name) const;
    void makeDir(const std::string& name) const;
    // Makes a folder that the platform hides; its display name.
    std::string makeHiddenDir(const std::string& name) const;
    void removeDir(const std::string& name) const;
    void writeFile(const std::string& name) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace ordinalette::foldertree::testing
