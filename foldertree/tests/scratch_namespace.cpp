#include "foldertree/tests/scratch_namespace.h"

#include <filesystem>
#include <fstream>

namespace ordinalette::foldertree::testing {

void ScratchNamespace::makeDir(const std::string& name) const {
    std::filesystem::create_directories(*this / name);
}

void ScratchNamespace::removeDir(const std::string& name) const {
    std::filesystem::remove_all(*this / name);
}

void ScratchNamespace::writeFile(const std::string& name) const {
    std::ofstream(*this / name).put('x');
}

} // namespace ordinalette::foldertree::testing
