#include "foldertree/tests/namespace_fixture.h"
#include "foldertree/tests/scratch_namespace.h"

namespace ordinalette::foldertree::testing {

struct ScratchNamespace::State {
    NamespaceFixture fixture;
};

ScratchNamespace::ScratchNamespace() : m_state(std::make_unique<State>()) {}

ScratchNamespace::~ScratchNamespace() = default;

std::shared_ptr<ShellNamespace> ScratchNamespace::shellNamespace() const {
    return m_state->fixture.shellNamespace();
}

std::string ScratchNamespace::folder() const {
    return m_state->fixture.drive("d");
}

std::string ScratchNamespace::operator/(const std::string& name) const {
    return folder() + "/" + name;
}

std::string ScratchNamespace::makeHiddenDir(const std::string& name) const {
    makeDir("." + name);
    return "." + name;
}

} // namespace ordinalette::foldertree::testing
