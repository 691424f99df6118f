#include "foldertree/tests/scratch_namespace.h"
#include "foldertree/win32/ole_session.h"
#include "foldertree/win32/win32_shell_namespace.h"
#include "testsupport/temp_dir.h"

#include <algorithm>
#include <windows.h>

namespace ordinalette::foldertree::testing {

struct ScratchNamespace::State {
    OleSession ole; // before the namespace, which needs it
    std::shared_ptr<Win32ShellNamespace> shellNamespace = std::make_shared<Win32ShellNamespace>();
    testsupport::TempDir dir;
};

ScratchNamespace::ScratchNamespace() : m_state(std::make_unique<State>()) {}

ScratchNamespace::~ScratchNamespace() = default;

std::shared_ptr<ShellNamespace> ScratchNamespace::shellNamespace() const {
    return m_state->shellNamespace;
}

std::string ScratchNamespace::folder() const {
    return m_state->dir.path();
}

std::string ScratchNamespace::operator/(const std::string& name) const {
    std::string path = folder() + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string ScratchNamespace::makeHiddenDir(const std::string& name) const {
    makeDir(name);
    SetFileAttributesA((*this / name).c_str(), FILE_ATTRIBUTE_HIDDEN);
    return name;
}

} // namespace ordinalette::foldertree::testing
