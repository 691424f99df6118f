#pragma once

#include "foldertree/posix/linux_shell_namespace.h"
#include "platform/file_system.h"
#include "testsupport/temp_dir.h"

#include <memory>
#include <string>

namespace ordinalette::foldertree::testing {

// A namespace over a temporary folder tree, which is also its home directory: drive "c" holding
// the desktop directory c/home/me/Desktop, drive "d", a network volume "net" and a trash
// folder, listed by a mount table file of the tree's own, and the volume labels of the links in
// by-label. Renames go through the given file system.
class NamespaceFixture {
public:
    explicit NamespaceFixture(platform::FileSystem& fileSystem = platform::systemFileSystem());

    std::string drive(const std::string& name) const { return m_dir / name; }
    std::string desktop() const { return m_dir / "c/home/me/Desktop"; }
    const testsupport::TempDir& dir() const { return m_dir; }
    std::shared_ptr<LinuxShellNamespace> shellNamespace() const { return m_namespace; }
    // Rewrites the mount table, as a mount would: drives c and d, the network volume, plus an
    // extra line.
    void writeMountTable(const std::string& extraLines = {}) const;
    // One mountinfo line for a mount point.
    static std::string mountLine(const std::string& mountPoint, const std::string& fsType,
                                 const std::string& source = "testdisk");

private:
    testsupport::TempDir m_dir;
    std::shared_ptr<LinuxShellNamespace> m_namespace;
};

} // namespace ordinalette::foldertree::testing
